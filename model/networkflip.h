#pragma once

class SmithChrt;

/// Turns the network around end for end: the starting and goal impedances trade places, each
/// conjugated, and the components are listed in reverse order (activeIndex keeps its number).
/// Data bound to an end moves with it: the start's data becomes the goal's and the goal's the
/// start's. As the goal bound to data is the conjugate of the data's impedance, the conjugations
/// of the flip follow at every frequency, and a network matched across a band stays matched.
void FlipNetwork(SmithChrt& chart);
