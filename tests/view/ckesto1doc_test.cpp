#include "model/documentfile.h"
#include "view/ckesto1doc.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class DocumentTest : public ::testing::Test {
protected:
    QString PathOf(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    void WriteBytes(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QByteArray SavedBytes(const SmithChrt& chart) {
        const std::vector<uint8_t> b = WriteDocument(chart);
        return QByteArray(reinterpret_cast<const char*>(b.data()),
                          static_cast<qsizetype>(b.size()));
    }

    QTemporaryDir dir;
    CKesto1Doc doc;
};

TEST_F(DocumentTest, NewDocumentKeepsFrequenciesAndVswrFlag) {
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("Untitled"));
    doc.chart.frequency = 433;
    doc.chart.f2Freq = 144;
    doc.chart.showVswrCircles = true;
    doc.chart.chartZ0 = {75, 0};
    doc.chart.AddComponent(NewResistor(PLACE_SERIES, 75));
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.chart.frequency, 433);
    EXPECT_EQ(doc.chart.f2Freq, 144);
    EXPECT_TRUE(doc.chart.showVswrCircles);
    EXPECT_EQ(doc.chart.componentCount, 0);
    EXPECT_EQ(doc.chart.chartZ0, Complex(50, 0));
    EXPECT_EQ(doc.chart.goalZ, Complex(50, 0));
    EXPECT_EQ(doc.chart.title, DefaultTitle());
    EXPECT_TRUE(doc.GetPathName().isEmpty());
}

TEST_F(DocumentTest, OpenReadsTheFileAndTakesItsName) {
    SmithChrt saved;
    saved.ResetForNewDocument();
    saved.title = "Saved";
    saved.frequency = 2400;
    saved.AddComponent(NewCapacitor(PLACE_SHUNT, 50, 2400));
    WriteBytes(PathOf("net.qbl"), SavedBytes(saved));
    doc.SetModifiedFlag();
    ASSERT_EQ(doc.OnOpenDocument(PathOf("net.qbl")), DocumentError::None);
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("net.qbl"));
    EXPECT_EQ(doc.GetPathName(), QDir(dir.path()).absoluteFilePath(QStringLiteral("net.qbl")));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.chart.title, "Saved");
    EXPECT_EQ(doc.chart.componentCount, 1);
    EXPECT_EQ(doc.chart.frequency, 2400);
}

TEST_F(DocumentTest, ZeroLengthFileKeepsContentUnderNewName) {
    doc.OnNewDocument();
    doc.chart.AddComponent(NewInductor(PLACE_SERIES, 50, 1000));
    doc.SetModifiedFlag();
    WriteBytes(PathOf("empty.qbl"), QByteArray());
    ASSERT_EQ(doc.OnOpenDocument(PathOf("empty.qbl")), DocumentError::None);
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("empty.qbl"));
    EXPECT_EQ(doc.chart.componentCount, 1);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocumentTest, FailedOpenChangesNothing) {
    doc.OnNewDocument();
    doc.chart.frequency = 50;
    doc.chart.AddComponent(NewInductor(PLACE_SERIES, 50, 50));
    doc.SetModifiedFlag();
    SmithChrt other;
    other.frequency = 999;
    QByteArray truncated = SavedBytes(other);
    truncated.chop(10);
    WriteBytes(PathOf("cut.qbl"), truncated);
    const SmithChrt before = doc.chart;

    EXPECT_EQ(doc.OnOpenDocument(PathOf("cut.qbl")), DocumentError::UnexpectedFormat);
    EXPECT_EQ(doc.OnOpenDocument(PathOf("missing.qbl")), DocumentError::FailedToOpen);
    EXPECT_EQ(doc.OnOpenDocument(dir.path()), DocumentError::FailedToOpen);
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("Untitled"));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.chart.frequency, 50);
    EXPECT_EQ(doc.chart.componentCount, before.componentCount);
    EXPECT_EQ(doc.chart.components[0], before.components[0]);
}

TEST_F(DocumentTest, SaveClearsModifiedOnlyOnSuccess) {
    doc.OnNewDocument();
    doc.SetModifiedFlag();
    EXPECT_EQ(doc.OnSaveDocument(dir.filePath(QStringLiteral("no/such/folder/x.qbl"))),
              DocumentError::FailedToSave);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("Untitled"));
    ASSERT_EQ(doc.OnSaveDocument(PathOf("ok.qbl")), DocumentError::None);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("ok.qbl"));
    QFile f(PathOf("ok.qbl"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), SavedBytes(doc.chart));
}

} // namespace
