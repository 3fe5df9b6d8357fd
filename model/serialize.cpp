#include "model/archive.h"
#include "model/documenttrailer.h"
#include "model/smithchrt.h"

#include <algorithm>

namespace {

void SerializeComponent(Archive& ar, Component& c) {
    ar.Io(c.kind);
    ar.Io(c.placement);
    ar.Io(c.tunedElement);
    ar.Io(c.resistance);
    ar.Io(c.capacitance);
    ar.Io(c.inductance);
    ar.Io(c.lineZ0);
    ar.Io(c.lineAngle);
    ar.Io(c.lineFreq);
    ar.ConstantFloat(1.0f);
    ar.ConstantFloat(1.0f);
    ar.ConstantByte(1);
    ar.ConstantByte(1);
    ar.ConstantInt32(1);
    ar.ConstantInt32(1);
}

} // namespace

void SmithChrt::Serialize(Archive& ar) {
    ar.Io(frequency);
    ar.Io(chartZ0.re);
    ar.Io(chartZ0.im);
    ar.Io(goalZ.re);
    ar.Io(goalZ.im);
    ar.Io(startZ.re);
    ar.Io(startZ.im);
    ar.Io(tunePercent);
    ar.Io(showAdmittance);
    ar.Io(gammaMode);
    ar.Io(showQArcs);
    ar.Io(textMarkers);
    ar.IoBool(showVswrCircles);
    ar.Io(activeIndex);
    ar.Io(componentCount);
    if (ar.IsLoading() && !ar.Failed() && (componentCount < 0 || componentCount > MAX_COMPONENTS)) {
        // The record array holds 25 components; a larger count cannot be a document of ours.
        ar.Fail(DocumentError::UnexpectedFormat);
        return;
    }
    ar.IoString(title);
    ar.ConstantByte(1);
    ar.ConstantByte(1);
    ar.ConstantString("Hola");
    ar.ConstantString("Hola");
    ar.ConstantInt32(1);
    ar.ConstantInt32(1);
    ar.Io(f1Freq);
    ar.Io(f2Freq);
    ar.Io(f3Freq);
    const int32_t n = std::clamp(componentCount, 0, MAX_COMPONENTS);
    for (int32_t i = 0; i < n && !ar.Failed(); ++i) {
        SerializeComponent(ar, components[i]);
    }
    if (ar.IsLoading() && !ar.Failed()) {
        activeIndex = componentCount == 0 ? (activeIndex == -1 ? -1 : 0)
                                          : std::clamp(activeIndex, 0, componentCount - 1);
    }
    if (ar.IsLoading()) {
        // What follows the component blocks is read, if at all, within a bounded window.
        ar.LimitInput(kMaxTrailerBytes);
    }
    if (!ar.Failed()) {
        SerializeTrailer(ar, *this);
    }
}
