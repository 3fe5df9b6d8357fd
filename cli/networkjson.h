#pragma once

#include <string>

class SmithChrt;
struct NetworkEvaluation;

/// The document and its evaluated network as one JSON object, ending with a newline.
/// maxNetworkQ is the value the draw left. optimization is the "optimization" object's JSON
/// (null when not given); bodeFano adds the band's "bodeFano" key.
std::string NetworkJson(const SmithChrt& doc, const NetworkEvaluation& evaluation,
                        double maxNetworkQ, const std::string& optimization = "null",
                        bool bodeFano = false);
