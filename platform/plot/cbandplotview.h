#pragma once

#include "platform/plot/bandplot.h"
#include "platform/plot/cplotview.h"

/// The band response plot as a widget, for the main window's panel. Its Update replaces only the
/// points that the plot shows.
class CBandPlotView : public CPlotView<CBandPlotContent> {
public:
    explicit CBandPlotView(QWidget* parent = nullptr);
};
