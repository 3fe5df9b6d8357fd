#pragma once

#include <QString>

/// The words of the About box that name the maker, all taken from the build configuration.
struct MakerInfo {
    QString siteName;        ///< in the About box's title
    QString webAddress;      ///< the page the Visit button opens
    QString feedbackAddress; ///< the e-mail address for feedback
    QString copyright;
};

MakerInfo Maker();
