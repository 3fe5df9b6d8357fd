#pragma once

#include "model/complex.h"
#include "model/matchfigures.h"

#include <vector>

class SmithChrt;

/// One evaluation of the network at the document's analysis frequency, by the cascade the draw
/// walks.
struct NetworkEvaluation {
    /// False for an empty network and for one with a component of unknown kind.
    bool hasEnd = false;
    /// Each component's output impedance, as far as the evaluation got.
    std::vector<Complex> outputs;
    Complex endZ;
    MatchFigures match{};
    double maxNetworkQ = 0;
};

/// Evaluates doc's network; a failure reports what the window reports for it.
NetworkEvaluation EvaluateNetwork(SmithChrt& doc);
