#include "platform/plot/cbandplotview.h"

#include <QChart>

CBandPlotView::CBandPlotView(QWidget* parent) : QChartView(new QChart, parent) {
    setFocusPolicy(Qt::NoFocus);
    setRenderHint(QPainter::Antialiasing);
    setMinimumSize(160, 100);
    content = std::make_unique<CBandPlotContent>(*chart());
}

CBandPlotView::~CBandPlotView() = default;

bool CBandPlotView::Update(const SmithChrt& sc) {
    return content->Update(sc);
}
