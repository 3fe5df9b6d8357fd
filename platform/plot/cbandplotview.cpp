#include "platform/plot/cbandplotview.h"

CBandPlotView::CBandPlotView(QWidget* parent) : CPlotView(parent, {600, 270}) {}
