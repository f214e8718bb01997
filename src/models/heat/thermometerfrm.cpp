#include "models/heat/thermometerfrm.h"

#include "widgets/picturebox.h"
#include "widgets/datamod.h"
#include "widgets/dock.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace quarvel {

namespace {
constexpr int kApparatusImage = 0;

QFont Scaled(const QFont& base, int percent) {
    QFont f = base;
    f.setPointSizeF(base.pointSizeF() * percent / 100.0);
    return f;
}

// Arrows only: the value cannot be typed.
QSpinBox* ArrowSpin(const QString& name, const QString& hint, int low, int high, int value, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(low, high);
    spin->setValue(value);
    spin->setToolTip(hint);
    spin->setStatusTip(hint);
    spin->findChild<QLineEdit*>()->setReadOnly(true);
    return spin;
}

void SetSpinFont(QSpinBox* spin, const QFont& f) {
    spin->setFont(f);
    if (QLineEdit* edit = spin->findChild<QLineEdit*>())
        edit->setFont(f);
}
} // namespace

TThermometerFrm::TThermometerFrm(QWidget* parent) : TPanel(parent) {
    setObjectName(QStringLiteral("ThermometerFrm"));
    m_toolbar = new TDockToolbar(QStringLiteral("Toolbar"), QStringLiteral("Thermometer"), this);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolbar->setIconSize(QSize(24, 24));

    auto* menu = new QMenu(this);
    auto* group = new QActionGroup(menu);
    SingleFlask = menu->addAction(QStringLiteral("Single flask"));
    SingleFlask->setObjectName(QStringLiteral("SingleFlask"));
    CompFlask = menu->addAction(QStringLiteral("Compare flasks"));
    CompFlask->setObjectName(QStringLiteral("CompFlask"));
    for (QAction* a : {SingleFlask, CompFlask}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    SingleFlask->setChecked(true);
    connect(SingleFlask, &QAction::triggered, this, [this] { SingleFlaskClick(false); });
    connect(CompFlask, &QAction::triggered, this, [this] { SingleFlaskClick(true); });
    menu->addSeparator();
    Grid1 = menu->addAction(QStringLiteral("Show background grid"));
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setCheckable(true);
    Grid1->setChecked(true);
    connect(Grid1, &QAction::triggered, this, &TThermometerFrm::Grid1Click);
    ApparatusBtn = new QAction(TDataMod::Instance()->Images24().Icon(kApparatusImage), QStringLiteral("Apparatus"), this);
    ApparatusBtn->setObjectName(QStringLiteral("ApparatusBtn"));
    ApparatusBtn->setToolTip(QStringLiteral("Choose the apparatus"));
    ApparatusBtn->setStatusTip(QStringLiteral("Choose the apparatus"));
    ApparatusBtn->setMenu(menu);
    m_toolbar->addAction(ApparatusBtn);
    if (auto* b = qobject_cast<QToolButton*>(m_toolbar->widgetForAction(ApparatusBtn))) {
        b->setPopupMode(QToolButton::InstantPopup);
        b->setMinimumHeight(42);
    }

    auto label = [&](const char* name, const QString& text) {
        auto* l = new QLabel(text, m_toolbar);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    TempLabel = label("TempLabel", QStringLiteral(" Temperature"));
    TempSE = ArrowSpin(QStringLiteral("TempSE"), QStringLiteral("Set the temperature"), 20, 80, 20, m_toolbar);
    RadiusLabel = label("RadiusLabel", QStringLiteral(" Tube size"));
    RadiusSE = ArrowSpin(QStringLiteral("RadiusSE"), QStringLiteral("Set the tube size"), 2, 5, 3, m_toolbar);
    VolumeLabel = label("VolumeLabel", QStringLiteral(" Flask size"));
    VolumeSE = ArrowSpin(QStringLiteral("VolumeSE"), QStringLiteral("Set the size of the flask"), 10, 50, 25, m_toolbar);
    m_toolbar->addWidget(TempLabel);
    m_toolbar->addWidget(TempSE);
    m_sizeItems << m_toolbar->addWidget(RadiusLabel) << m_toolbar->addWidget(RadiusSE)
                << m_toolbar->addWidget(VolumeLabel) << m_toolbar->addWidget(VolumeSE);
    for (QSpinBox* spin : {TempSE, RadiusSE, VolumeSE})
        connect(spin, &QSpinBox::valueChanged, this, &TThermometerFrm::TempSEValueChanged);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Pic = new TPictureBox(QStringLiteral("Pic"), this);
    Pic->setMinimumSize(10, 10);
    Pic->Resized = [this](QSize) { Redraw(); };
    layout->addWidget(Pic);
    SetLargeButtons(false);
}

TThermometerFrm::~TThermometerFrm() = default;

void TThermometerFrm::Redraw() {
    Model.Temperature = TempSE->value();
    Model.TubeRadius = RadiusSE->value();
    Model.FlaskSize = VolumeSE->value();
    Model.Grid = Grid1->isChecked();
    Pic->SetPicture(Model.Draw(Pic->size()));
}

void TThermometerFrm::SingleFlaskClick(bool compare) {
    (compare ? CompFlask : SingleFlask)->setChecked(true);
    if (Model.CompareMode == compare)
        return;
    Model.CompareMode = compare;
    for (QAction* a : m_sizeItems)
        a->setVisible(!compare);
    Redraw();
}

void TThermometerFrm::Grid1Click() { Redraw(); }
void TThermometerFrm::TempSEValueChanged() { Redraw(); }

void TThermometerFrm::SetLargeButtons(bool large) {
    LargeButtons = large;
    m_toolbar->setUpdatesEnabled(false);
    const TImageList& images = TDataMod::Instance()->Images(large);
    ApparatusBtn->setIcon(images.Icon(kApparatusImage));
    m_toolbar->setIconSize(QSize(images.Size(), images.Size()));
    const QFont itemFont = Scaled(font(), large ? 150 : 100);
    ApparatusBtn->setFont(itemFont);
    if (QWidget* b = m_toolbar->widgetForAction(ApparatusBtn))
        b->setFont(itemFont);
    for (QAction* a : {SingleFlask, CompFlask, Grid1})
        a->setFont(itemFont);
    for (QLabel* l : {TempLabel, RadiusLabel, VolumeLabel})
        l->setFont(itemFont);
    const QFont spinFont = Scaled(font(), large ? 300 : 175);
    for (QSpinBox* spin : {TempSE, RadiusSE, VolumeSE})
        SetSpinFont(spin, spinFont);
    m_toolbar->setUpdatesEnabled(true);
}

void RegisterThermometerPanel() {
    TPanelInfo info;
    info.Create = [](QWidget* owner) { return new TThermometerFrm(owner); };
    RegisterPanel(2022, info);
}

} // namespace quarvel
