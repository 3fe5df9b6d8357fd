#pragma once

#include <string>

class SmithChrt;
struct NetworkEvaluation;

/// The document and its evaluated network as one JSON object, ending with a newline.
/// maxNetworkQ is the value the draw left.
std::string NetworkJson(const SmithChrt& doc, const NetworkEvaluation& evaluation,
                        double maxNetworkQ);
