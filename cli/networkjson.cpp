#include "cli/networkjson.h"

#include "chart/devicecircles.h"
#include "cli/clidesign.h"
#include "cli/clitext.h"
#include "cli/networkevaluation.h"
#include "model/bandevaluation.h"
#include "model/bandsettings.h"
#include "model/devicefigures.h"
#include "model/losses.h"
#include "model/measuredbinding.h"
#include "model/smithchrt.h"
#include "model/twoport.h"

#include <algorithm>

namespace {

// Appended rather than concatenated: GCC 12 at -O3 warns (-Wrestrict) about "[" + text.
std::string Pair(Complex z) {
    std::string pair = "[";
    pair += JsonNumber(z.re);
    pair += ", ";
    pair += JsonNumber(z.im);
    pair += ']';
    return pair;
}

// Keys and values of one object, written in the order added.
class CJsonObject {
public:
    CJsonObject& Add(const char* key, const std::string& json) {
        fields += fields.empty() ? "" : separator;
        fields += JsonString(key) + ": " + json;
        return *this;
    }
    CJsonObject& Add(const char* key, double v) { return Add(key, JsonNumber(v)); }
    CJsonObject& Add(const char* key, int32_t v) { return Add(key, std::to_string(v)); }
    CJsonObject& Add(const char* key, Complex z) { return Add(key, Pair(z)); }

    std::string Inline() const { return "{" + fields + "}"; }
    std::string Block() const { return "{\n  " + fields + "\n}"; }
    /// A block one level in, as the value of a key of a block.
    std::string Nested() const { return "{\n    " + fields + "\n  }"; }

    explicit CJsonObject(std::string separator) : separator(std::move(separator)) {}

private:
    std::string separator;
    std::string fields;
};

const char* LawWord(LossLaw law) {
    switch (law) {
    case LossLaw::Linear:
        return "linear";
    case LossLaw::Sqrt:
        return "sqrt";
    default:
        return "constant";
    }
}

// {q or db, mhz (null when none was given), law}, or null.
std::string LossJson(const std::optional<LossSpec>& setting, LossClass cls) {
    if (!setting) {
        return "null";
    }
    CJsonObject o(", ");
    o.Add(cls == LossClass::Line ? "db" : "q", setting->value)
        .Add("mhz", setting->mhz > 0 ? JsonNumber(setting->mhz) : "null")
        .Add("law", JsonString(LawWord(setting->law)));
    return o.Inline();
}

std::string LossesJson(const LossSettings& losses) {
    if (!losses.IsSet()) {
        return "null";
    }
    CJsonObject o(", ");
    o.Add("inductorQ", LossJson(losses.inductorQ, LossClass::QualityFactor))
        .Add("capacitorQ", LossJson(losses.capacitorQ, LossClass::QualityFactor))
        .Add("lineLoss", LossJson(losses.lineLoss, LossClass::Line));
    return o.Inline();
}

std::string ComponentJson(const SmithChrt& doc, const Component& c,
                          const std::vector<Complex>& outputs, size_t i) {
    CJsonObject o(", ");
    o.Add("kind", c.kind)
        .Add("placement", c.placement)
        .Add("tunedElement", c.tunedElement)
        .Add("resistance", c.resistance)
        .Add("capacitance", c.capacitance)
        .Add("inductance", c.inductance)
        .Add("lineZ0", c.lineZ0)
        .Add("lineAngle", c.lineAngle)
        .Add("lineFreq", c.lineFreq)
        .Add("outZ", i < outputs.size() ? Pair(outputs[i]) : "null")
        .Add("loss", LossJson(EffectiveLoss(doc.losses, c), LossClassOf(c.kind)));
    return o.Inline();
}

std::string ComponentsJson(const SmithChrt& doc, const NetworkEvaluation& e) {
    const int32_t n = std::clamp(doc.componentCount, 0, MAX_COMPONENTS);
    if (n == 0) {
        return "[]";
    }
    std::string list = "[";
    for (int32_t i = 0; i < n; ++i) {
        list += i == 0 ? "\n    " : ",\n    ";
        list += ComponentJson(doc, doc.components[i], e.outputs, static_cast<size_t>(i));
    }
    return list + "\n  ]";
}

template <typename T, typename Write> std::string List(const std::vector<T>& values, Write write) {
    std::string list = "[";
    for (size_t i = 0; i < values.size(); ++i) {
        list += i == 0 ? "" : ", ";
        list += write(values[i]);
    }
    return list + "]";
}

std::string Numbers(const std::vector<double>& values) {
    return List(values, [](double v) { return JsonNumber(v); });
}

std::string LimitJson(const BandLimit& limit) {
    if (!limit.IsSet()) {
        return "null";
    }
    CJsonObject o(", ");
    o.Add("kind", JsonString(limit.kind == BandLimitKind::ReturnLoss ? "rl" : "vswr"))
        .Add("value", limit.value);
    return o.Inline();
}

std::string Optional(const std::optional<double>& v) {
    return v ? JsonNumber(*v) : "null";
}

std::string OptionalPair(const std::optional<Complex>& z) {
    return z ? Pair(*z) : "null";
}

// The device's figures at each band frequency: lists of K, mu, MAG, MSG and Fmin (null where
// there is none).
std::string BandDeviceJson(const DeviceData& device, const std::vector<double>& frequencies) {
    std::vector<std::string> k, mu, mag, msg, fmin;
    for (const double f : frequencies) {
        const std::optional<DevicePoint> s = DeviceAt(device, f);
        const std::optional<NoisePoint> n = DeviceNoiseAt(device, f);
        if (s) {
            const DeviceFigures d = ComputeDeviceFigures(*s);
            k.push_back(JsonNumber(d.k));
            mu.push_back(JsonNumber(d.mu));
            mag.push_back(Optional(d.magDb));
            msg.push_back(Optional(d.msgDb));
        } else {
            for (std::vector<std::string>* list : {&k, &mu, &mag, &msg}) {
                list->push_back("null");
            }
        }
        fmin.push_back(n ? JsonNumber(n->fminDb) : "null");
    }
    auto list = [](const std::vector<std::string>& v) {
        return List(v, [](const std::string& x) { return x; });
    };
    CJsonObject o(", ");
    o.Add("k", list(k)).Add("mu", list(mu)).Add("magDb", list(mag)).Add("msgDb", list(msg));
    o.Add("fminDb", list(fmin));
    return o.Inline();
}

// The loaded device at the analysis frequency, reflections on the chart Z0, or null.
std::string DeviceJson(const SmithChrt& doc) {
    if (doc.device == nullptr) {
        return "null";
    }
    const DeviceData& d = *doc.device;
    CJsonObject o(",\n    ");
    o.Add("name", JsonString(d.name))
        .Add("fmin", d.points.front().frequency)
        .Add("fmax", d.points.back().frequency)
        .Add("points", static_cast<int32_t>(d.points.size()))
        .Add("noisePoints", static_cast<int32_t>(d.noise.size()));
    const std::optional<DevicePoint> s = DeviceAt(d, doc.frequency);
    const std::string none = "null";
    if (!s) {
        for (const char* key : {"k", "mu", "muPrime", "delta", "unconditionallyStable", "magDb",
                                "msgDb", "gammaMS", "gammaML", "fminDb", "gammaOpt", "rn"}) {
            o.Add(key, none);
        }
        o.Add("circles", "[]");
        return o.Nested();
    }
    const double z0 = doc.chartZ0.re;
    auto onChart = [&](const std::optional<Complex>& g, double from) -> std::optional<Complex> {
        return g ? std::optional<Complex>(MapReflection(*g, from, z0)) : std::nullopt;
    };
    const DeviceFigures f = ComputeDeviceFigures(*s);
    const std::optional<NoisePoint> n = DeviceNoiseAt(d, doc.frequency);
    o.Add("k", f.k)
        .Add("mu", f.mu)
        .Add("muPrime", f.muPrime)
        .Add("delta", f.delta)
        .Add("unconditionallyStable", f.unconditionallyStable ? "true" : "false")
        .Add("magDb", Optional(f.magDb))
        .Add("msgDb", Optional(f.msgDb))
        .Add("gammaMS", OptionalPair(onChart(f.gammaMS, s->reference)))
        .Add("gammaML", OptionalPair(onChart(f.gammaML, s->reference)))
        .Add("fminDb", n ? JsonNumber(n->fminDb) : none)
        .Add("gammaOpt", n ? Pair(MapReflection(n->gammaOpt, n->reference, z0)) : none)
        .Add("rn", n ? JsonNumber(n->rn) : none);
    std::string circles = "[";
    for (const DeviceCircle& c : ChartDeviceCircles(doc)) {
        CJsonObject e(", ");
        e.Add("type", JsonString(CircleFamilyName(c.family)))
            .Add("value", Optional(c.valueDb))
            .Add("center", c.circle.center)
            .Add("radius", c.circle.radius);
        if (c.family == CircleFamily::SourceStability || c.family == CircleFamily::LoadStability) {
            e.Add("unstableInside", c.unstableInside ? "true" : "false");
        }
        circles += (circles.size() > 1 ? ",\n      " : "\n      ") + e.Inline();
    }
    o.Add("circles", circles.size() > 1 ? circles + "\n    ]" : "[]");
    return o.Nested();
}

// The band as the window's band display evaluates it, or null while the display is off.
std::string BandJson(const SmithChrt& doc, bool bodeFano) {
    if (!doc.band.display) {
        return "null";
    }
    const BandResult r = EvaluateBand(doc, {}, false, true);
    CJsonObject o(",\n    ");
    o.Add("low", doc.band.low)
        .Add("high", doc.band.high)
        .Add("points", doc.band.points)
        .Add("frequencies", Numbers(r.frequencies))
        .Add("endZ", List(r.endZ, Pair))
        .Add("vswr", Numbers(r.vswr))
        .Add("returnLossDb", Numbers(r.returnLossDb))
        .Add("mismatchLossDb", Numbers(r.mismatchLossDb))
        .Add("worstVswr", r.worstVswr)
        .Add("worstFrequency", r.worstFrequency)
        .Add("missingPoints", r.missingPoints)
        .Add("limit", LimitJson(doc.bandLimit))
        .Add("failingPoints", r.failingPoints)
        .Add("transducerGainDb", Numbers(r.transducerGainDb))
        .Add("dissipationLossDb", Numbers(r.dissipationLossDb))
        .Add("worstTransducerGainDb", r.worstTransducerGainDb);
    if (bodeFano) {
        o.Add("bodeFano", BodeFanoJson(doc));
    }
    if (doc.device != nullptr) {
        o.Add("device", BandDeviceJson(*doc.device, r.frequencies));
    }
    return o.Nested();
}

// The data an impedance is bound to, or null.
std::string DataJson(const SmithChrt& doc, LoadEnd end) {
    const auto& data = BoundData(doc, end);
    if (data == nullptr || data->points.empty()) {
        return "null";
    }
    const ReferenceSpan refs = ReferencesOf(*data);
    CJsonObject reference(", ");
    reference.Add("min", refs.low).Add("max", refs.high);
    CJsonObject o(",\n    ");
    o.Add("name", JsonString(data->name))
        .Add("points", static_cast<int32_t>(data->points.size()))
        .Add("fmin", data->points.front().frequency)
        .Add("fmax", data->points.back().frequency)
        .Add("reference", refs.low == refs.high ? JsonNumber(refs.low) : reference.Inline());
    if (end == LoadEnd::Goal) {
        // goalZ is the conjugate of the data's impedance.
        o.Add("conjugate", std::string("true"));
    }
    return o.Nested();
}

} // namespace

std::string NetworkJson(const SmithChrt& doc, const NetworkEvaluation& e, double maxNetworkQ,
                        const std::string& optimization, bool bodeFano) {
    const std::string none = "null";
    const TwoPortFigures twoPort = NetworkTwoPort(doc, doc.frequency, doc.startZ, doc.goalZ);
    CJsonObject o(",\n  ");
    o.Add("title", JsonString(doc.title))
        .Add("frequency", doc.frequency)
        .Add("chartZ0", doc.chartZ0)
        .Add("startZ", doc.startZ)
        .Add("goalZ", doc.goalZ)
        .Add("startData", DataJson(doc, LoadEnd::Start))
        .Add("goalData", DataJson(doc, LoadEnd::Goal))
        .Add("tunePercent", doc.tunePercent)
        .Add("activeIndex", doc.activeIndex)
        .Add("componentCount", doc.componentCount)
        .Add("components", ComponentsJson(doc, e))
        .Add("endZ", e.hasEnd ? Pair(e.endZ) : none)
        .Add("vswr", e.hasEnd ? JsonNumber(e.match.vswr) : none)
        .Add("returnLossDb", e.hasEnd ? JsonNumber(e.match.returnLossDb) : none)
        .Add("mismatchLossDb", e.hasEnd ? JsonNumber(e.match.mismatchLossDb) : none)
        .Add("maxNetworkQ", maxNetworkQ)
        .Add("losses", LossesJson(doc.losses))
        .Add("transducerGainDb", twoPort.transducerGainDb)
        .Add("dissipationLossDb", twoPort.dissipationLossDb)
        .Add("optimization", optimization)
        .Add("band", BandJson(doc, bodeFano))
        .Add("device", DeviceJson(doc));
    return o.Block() + "\n";
}
