#pragma once

#include "model/bandevaluation.h"
#include "model/bandsettings.h"
#include "model/complex.h"
#include "model/component.h"
#include "model/constants.h"
#include "model/devicedata.h"
#include "model/devicefigures.h"
#include "model/geometry.h"
#include "model/lossspec.h"
#include "model/measureddata.h"
#include "model/tracememory.h"
#include "model/trailerrecord.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Archive;
class DrawSurface;
class IMessageSink;

/// Gamma as magnitude and angle in degrees.
struct GammaPolar {
    double magnitude = 0.0;
    double angle = 0.0;
};

/// The document's data: title, chart settings, impedances, the network, and the working fields
/// that each draw fills. Commands read and write the fields directly.
class SmithChrt {
public:
    SmithChrt();

    std::string title; ///< UTF-8 in memory; stored as Windows-1252 or UTF-16
    std::array<Point, MAX_COMPONENTS> labelPoints{};
    std::array<Point, MAX_COMPONENTS> tracePoints{};
    double maxNetworkQ = 0.0;
    int32_t showQArcs = 0;
    Complex goalZ;
    int32_t showAdmittance = 0;
    int32_t gammaMode = 0;
    int32_t textMarkers = 1;
    Complex endZ;
    double tunePercent = 2.5;
    int32_t plottingActive = 0;
    int32_t activeIndex = 0;
    Point pointerPos;
    Complex startZ;
    double frequency = 1000.0;
    DrawSurface* surface = nullptr;
    Rect clientRect;
    Complex chartZ0;
    int32_t componentCount = 0;
    std::array<Component, MAX_COMPONENTS> components{};
    double f1Freq = 1000.0;
    double f2Freq = 1000.0;
    double f3Freq = 1000.0;
    int32_t textX = 0;
    int32_t textY = 0;
    int32_t lineHeight = 0;
    Point chartCentre;
    double chartRadius = 0.0;
    int32_t rimRadius = 0;
    bool showVswrCircles = false;

    // Extensions, saved in the document trailer when they differ from their defaults.
    BandSettings band;
    /// The loss defaults of inductors, capacitors and lines; parts may override them.
    LossSettings losses;
    /// The limit the band's points should meet: drawn on the plot, counted in the band's readout
    /// ("BLIM" record).
    BandLimit bandLimit;
    /// Measured or simulated data that startZ and goalZ follow while bound (measuredbinding.h);
    /// null when the impedance is a fixed value. Shared, never changed once bound.
    std::shared_ptr<const MeasuredData> startData;
    std::shared_ptr<const MeasuredData> goalData;
    /// A two-port device for amplifier design (devicebinding.h): its figures in the readout,
    /// its circles on the chart, and the goal it may set. Null when none is loaded.
    std::shared_ptr<const DeviceData> device;
    /// The reflection of the device that goalZ follows while bound (0 none, 1 the source's for
    /// gain, 2 the source's for noise, 3 the load's for gain: DeviceGoal).
    int32_t deviceGoal = 0;
    CircleSettings circles; ///< the device's circle families on the chart, and their steps
    /// Trailer records of kinds this program does not know, written back as they were read.
    KeptRecords unknownRecords;
    /// Working field of the draw: the band as the last draw with the band display on evaluated
    /// it. Kept between draws so that its vectors are reused; meaningful only while
    /// band.display is on.
    BandResult bandResult;
    /// Working field of the draw: the Bode-Fano line the readout writes after the band's, set
    /// by whoever shows it (the view's toggle, the tool's --bode-fano); empty for none.
    std::string bodeFanoLine;
    /// Working field of the draw, set with bodeFanoLine: the Bode-Fano limit's smallest VSWR,
    /// which the response plot draws as a dashed line; 0 for none.
    double bodeFanoVswr = 0;
    /// Working field of the draw: each component's trace as the last draws stepped it, drawn
    /// again while its inputs stay the same. Kept between draws; a copy of the document starts
    /// without it.
    TraceMemory traces;

    /// Receives the messages that operations raise; none are shown when it is null.
    IMessageSink* messages = nullptr;

    /// The reset of File New; keeps the frequencies and the VSWR-circle flag. The extensions
    /// (band, unknown trailer records) return to their defaults: a new document saved at once is
    /// the plain document stream.
    void ResetForNewDocument();

    /// Reads or writes the document stream, by the archive's direction.
    void Serialize(Archive& ar);

    // Conversions against chartZ0 and the chart geometry of the last draw.
    Complex ZToGamma(Complex z) const;
    Complex GammaToZ(Complex gamma) const;
    GammaPolar ZToGammaPolar(Complex z) const;
    Complex GammaPolarToZ(double magnitude, double angleDeg) const;
    Point ZToScreen(Complex z) const;
    Complex ScreenToZ(int32_t px, int32_t py) const;
    double ScreenDistancePercent(Point a, Point b) const;
    /// ScreenDistancePercent of two points whose squared distance is d2.
    double DistancePercentOfSquare(double d2) const;

    // Step functions; both raise maxNetworkQ to the Q of the impedance they return.
    Complex AddImpedancePercent(double percent, Complex z, Complex zc, int32_t placement);
    Complex AddLinePercent(double percent, Complex zStart, Complex zc, int32_t placement,
                           double theta, double& accumulated);
    /// AddLinePercent for a line losing nepersPerDegree (above 0) per degree of its angle; the
    /// angle is not reduced to one turn, as the loss grows with the whole length.
    Complex AddLossyLinePercent(double percent, Complex zStart, Complex zc, int32_t placement,
                                double theta, double& accumulated, double nepersPerDegree);

    /// Element impedance of c at frequency, with its loss; a line also sets theta, its electrical
    /// angle, and lineLoss, its loss in nepers per degree (0 when lossless). An unknown kind
    /// reports "default case in plotcomponents type checking" and gives false.
    bool ElementAt(const Component& c, Complex& ze, double& theta, double& lineLoss) const;
    /// Percent of an element from `from`: the line step for placements 3 to 5 (lossy when
    /// lineLoss is above 0), else the lumped one.
    Complex StepPercent(double percent, Complex from, Complex ze, int32_t placement, double theta,
                        double& accumulated, double lineLoss = 0);
    /// Evaluates the cascade without drawing: endZ, maxNetworkQ, plottingActive. When outputs is
    /// given it receives the output impedance of each component evaluated, in network order.
    bool EvaluateCascade(std::vector<Complex>* outputs = nullptr);

    // Network list operations.
    int32_t AddComponent(Component c);
    int32_t DeleteActiveComponent();
    void SelectNext();
    void SelectPrevious();
    void PickComponentAt(int32_t px, int32_t py);

    /// Reports a message through the sink, if there is one.
    void Report(const char* text) const;

private:
    void RaiseQ(Complex z);
};

/// The title File New gives a document: the maker's web address framed by asterisks.
std::string DefaultTitle();
