#include "app/makerinfo.h"

#include "quorbel_config.h"

MakerInfo Maker() {
    MakerInfo m;
    m.siteName = QString::fromUtf8(kMakerWebAddress);
    m.webAddress = QString::fromUtf8(kMakerWebAddress);
    m.feedbackAddress = QString::fromUtf8(kFeedbackAddress);
    m.copyright = QString::fromUtf8(kProgramName) + QStringLiteral(" Version ") +
                  QString::fromUtf8(kProgramVersion) + QStringLiteral("\nCopyright (C) ") +
                  QString::fromUtf8(kMakerWebAddress);
    return m;
}
