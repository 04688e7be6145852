#include "panels/grid_options_panel.h"

#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace velmar {

GridOptionsPanel::GridOptionsPanel(QWidget* parent) : QGroupBox("Grid", parent)
{
    setObjectName("fraGrid");
    setAccessibleName("Grid");
    auto* layout = new QVBoxLayout(this);
    auto option = [&](QRadioButton*& member, const char* name, const char* caption) {
        member = new QRadioButton(caption, this);
        member->setObjectName(name);
        member->setAccessibleName(caption);
        layout->addWidget(member);
    };
    option(optNone, "optNone", "None");
    option(optShowMetatile, "optShowMetatile", "Metatiles");
    option(optShowScreen, "optShowScreen", "Screens");
    optNone->setChecked(true);
    hscrGridColor = new QScrollBar(Qt::Horizontal, this);
    hscrGridColor->setObjectName("hscrGridColor");
    hscrGridColor->setRange(0, 255);
    hscrGridColor->setToolTip("Grid colour");
    hscrGridColor->setAccessibleName("Grid colour");
    layout->addWidget(hscrGridColor);
    connect(optNone, &QRadioButton::clicked, this, &GridOptionsPanel::optNone_Click);
    connect(optShowMetatile, &QRadioButton::clicked, this, &GridOptionsPanel::optShowMetatile_Click);
    connect(optShowScreen, &QRadioButton::clicked, this, &GridOptionsPanel::optShowScreen_Click);
    connect(hscrGridColor, &QScrollBar::valueChanged, this, &GridOptionsPanel::hscrGridColor_Change);
}

bool GridOptionsPanel::showMetatileGrid() const { return optShowMetatile->isChecked(); }
bool GridOptionsPanel::showScreenGrid() const { return optShowScreen->isChecked(); }
int GridOptionsPanel::colourValue() const { return hscrGridColor->value(); }

void GridOptionsPanel::cycle()
{
    QRadioButton* next = optNone->isChecked() ? optShowMetatile
        : optShowMetatile->isChecked()        ? optShowScreen
                                              : optNone;
    next->setChecked(true);
    emit gridChanged();
}

void GridOptionsPanel::optNone_Click() { emit gridChanged(); }
void GridOptionsPanel::optShowMetatile_Click() { emit gridChanged(); }
void GridOptionsPanel::optShowScreen_Click() { emit gridChanged(); }
void GridOptionsPanel::hscrGridColor_Change(int) { emit gridChanged(); }

}  // namespace velmar
