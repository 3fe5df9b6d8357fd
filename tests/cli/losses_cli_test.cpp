// Losses on the command line: the options and their refusals, the two-port figures in the JSON
// and the sweep, and the exported Touchstone file read back by scikit-rf.
#include "model/documentfile.h"
#include "tests/cli/cliprocess.h"
#include "tests/support/missingtool.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <complex>
#include <filesystem>
#include <sstream>

namespace {

QJsonObject Json(const std::string& out) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(out)).object();
}

std::string SavedEveryKind(const CScratchDir& dir) {
    const std::string path = dir.Path("every.qbl");
    EXPECT_EQ(SaveDocumentFile(path, EveryKindDocument()), DocumentError::None);
    return path;
}

TEST(LossesCli, OutOfRangeLossesAndPartsWithoutOneAreUsageErrors) {
    CScratchDir dir;
    const std::string doc = SavedEveryKind(dir);
    const struct {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{"--inductor-q", "0"}, "--inductor-q: Q must be above 0"},
        {{"--capacitor-q", "nan"}, "--capacitor-q: Q must be above 0"},
        {{"--inductor-q", "40:linear"}, "laws need a reference frequency"},
        {{"--capacitor-q", "40@100:cubic"}, "LAW must be one of constant, linear, sqrt"},
        {{"--inductor-q", "40@-5"}, "reference frequency must be a positive number"},
        {{"--line-loss", "0.3"}, "--line-loss: a line loss needs its reference frequency"},
        {{"--line-loss", "-1@100"}, "the line loss must be 0 dB or more"},
        {{"--line-loss", "inf@100"}, "the line loss must be 0 dB or more"},
        {{"--component-loss", "0:40"}, "expected N:LOSS with N a component from 1 to 25"},
        {{doc, "--component-loss", "1:40"}, "component 1 is not an inductor, capacitor or line"},
        {{doc, "--component-loss", "7:40"}, "component 7 is not an inductor, capacitor or line"},
        {{doc, "--component-loss", "4:0.2"}, "component 4: a line loss needs its reference"},
        {{doc, "--component-loss", "25:40"}, "component 25: the network has 13 components"},
    };
    for (const auto& c : cases) {
        const CliOutcome r = RunCliProcess(c.args);
        EXPECT_EQ(r.status, 2) << c.error;
        EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
    }
}

// Without a loss the figures are those of the ideal network: nothing dissipated by L, C and
// lines, so GT is minus the mismatch loss; --lossless brings a lossy document back to its plain
// bytes.
TEST(LossesCli, LosslessDocumentsKeepTheirBytesAndIdealFigures) {
    CScratchDir dir;
    const CliOutcome ideal =
        RunCliProcess({"--start", "12.5,-8", "--frequency", "435", "--matchme", "2,lowpass",
                       "--save", dir.Path("plain.qbl"), "--json"});
    ASSERT_EQ(ideal.status, 0) << ideal.err;
    const QJsonObject j = Json(ideal.out);
    EXPECT_TRUE(j["losses"].isNull());
    EXPECT_TRUE(j["components"].toArray()[0].toObject()["loss"].isNull());
    EXPECT_NEAR(j["dissipationLossDb"].toDouble(), 0, 1e-12);
    EXPECT_NEAR(j["transducerGainDb"].toDouble(), -j["mismatchLossDb"].toDouble(), 1e-9);

    const CliOutcome lossy =
        RunCliProcess({dir.Path("plain.qbl"), "--inductor-q", "30", "--component-loss",
                       "2:80@435:linear", "--save", dir.Path("lossy.qbl"), "--json"});
    ASSERT_EQ(lossy.status, 0) << lossy.err;
    const QJsonObject l = Json(lossy.out);
    EXPECT_EQ(
        QJsonDocument(l["losses"].toObject()).toJson(QJsonDocument::Compact),
        R"({"capacitorQ":null,"inductorQ":{"law":"constant","mhz":null,"q":30},"lineLoss":null})");
    EXPECT_EQ(l["components"].toArray()[1].toObject()["loss"].toObject()["law"], "linear");
    EXPECT_GT(l["dissipationLossDb"].toDouble(), 0.01);
    EXPECT_NE(ReadFileBytes(dir.Path("lossy.qbl")), ReadFileBytes(dir.Path("plain.qbl")));

    const CliOutcome back = RunCliProcess({dir.Path("lossy.qbl"), "--lossless", "--save",
                                           dir.Path("back.qbl"), "--sweep", "400:470:3"});
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(ReadFileBytes(dir.Path("back.qbl")), ReadFileBytes(dir.Path("plain.qbl")));
    EXPECT_EQ(Lines(back.out)[0],
              "frequency_mhz,end_re,end_im,vswr,return_loss_db,mismatch_loss_db");
}

TEST(LossesCli, SweepEndsWithTheTwoPortFiguresWhileALossIsSet) {
    CScratchDir dir;
    const std::string doc = SavedEveryKind(dir);
    const CliOutcome r = RunCliProcess({doc, "--line-loss", "0.5@1000:sqrt", "--sweep",
                                        "900:1100:3", "--band", "900:1100:3", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const size_t csv = r.out.find("frequency_mhz");
    const std::vector<std::string> rows = Lines(r.out.substr(csv));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], "frequency_mhz,end_re,end_im,vswr,return_loss_db,mismatch_loss_db,"
                       "transducer_gain_db,dissipation_loss_db");
    const QJsonObject band = Json(r.out.substr(0, csv))["band"].toObject();
    for (size_t k = 0; k < 3; ++k) {
        std::vector<std::string> cells;
        std::stringstream row(rows[k + 1]);
        for (std::string cell; std::getline(row, cell, ',');) {
            cells.push_back(cell);
        }
        ASSERT_EQ(cells.size(), 8u) << rows[k + 1];
        const auto i = static_cast<qsizetype>(k);
        EXPECT_EQ(std::stod(cells[6]), band["transducerGainDb"].toArray()[i].toDouble());
        EXPECT_EQ(std::stod(cells[7]), band["dissipationLossDb"].toArray()[i].toDouble());
    }
    EXPECT_EQ(band["worstTransducerGainDb"].toDouble(),
              std::min({band["transducerGainDb"].toArray()[0].toDouble(),
                        band["transducerGainDb"].toArray()[1].toDouble(),
                        band["transducerGainDb"].toArray()[2].toDouble()}));
}

// The exported file, read by scikit-rf and terminated at port 1 in the starting impedance, gives
// the ending impedance Quorbel's band evaluates, at every frequency.
TEST(LossesCli, ExportedTwoPortReadByScikitRfGivesTheEndingImpedance) {
    const std::string python = "/usr/bin/python3";
    if (!std::filesystem::exists(python) || RunProcess(python, {"-c", "import skrf"}).status != 0) {
        SKIP_OR_FAIL_MISSING(std::string("scikit-rf for ") + python +
                             " (Debian package python3-scikit-rf)");
    }
    CScratchDir dir;
    const std::string doc = SavedEveryKind(dir);
    const CliOutcome r =
        RunCliProcess({doc, "--inductor-q", "50@300:sqrt", "--capacitor-q", "200", "--line-loss",
                       "0.4@500:linear", "--component-loss", "5:2@1000", "--component-loss",
                       "3:inf", "--band", "700:1300:25", "--s2p", dir.Path("net.s2p"), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> head = Lines(ReadFileBytes(dir.Path("net.s2p")));
    ASSERT_GE(head.size(), 3u);
    EXPECT_EQ(head[0].rfind("! Quorbel ", 0), 0u);
    EXPECT_NE(head[0].find("every.qbl"), std::string::npos) << head[0];
    EXPECT_EQ(head[2], "# MHz S RI R 50");

    const CliOutcome ref =
        RunProcess(python, {QUORBEL_S2P_REFERENCE, dir.Path("net.s2p"), "30", "-20"});
    ASSERT_EQ(ref.status, 0) << ref.err;
    const QJsonObject band = Json(r.out)["band"].toObject();
    std::vector<std::string> rows; // scikit-rf may say that it found no plotting library
    for (const std::string& line : Lines(ref.out)) {
        if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0]))) {
            rows.push_back(line);
        }
    }
    ASSERT_EQ(rows.size(), 25u) << ref.out;
    for (size_t k = 0; k < rows.size(); ++k) {
        std::istringstream in(rows[k]);
        double f = 0, re = 0, im = 0;
        in >> f >> re >> im;
        const auto i = static_cast<qsizetype>(k);
        EXPECT_NEAR(f, band["frequencies"].toArray()[i].toDouble(), 1e-9 * f);
        const QJsonArray z = band["endZ"].toArray()[i].toArray();
        // Compared as reflection coefficients on 50 ohm, where the chart shows them.
        const std::complex<double> ours(z[0].toDouble(), z[1].toDouble());
        const std::complex<double> theirs(re, im);
        EXPECT_LE(std::abs((ours - 50.0) / (ours + 50.0) - (theirs - 50.0) / (theirs + 50.0)), 1e-9)
            << rows[k];
    }
}

} // namespace
