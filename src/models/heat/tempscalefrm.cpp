#include "models/heat/tempscalefrm.h"

#include "common/contentpath.h"
#include "host/globals.h"
#include "widgets/picturebox.h"
#include "widgets/cursors.h"
#include "widgets/datamod.h"
#include "widgets/dock.h"

#include <QAction>
#include <QActionGroup>
#include <QTimer>
#include <functional>

namespace quarvel {

namespace {
constexpr int kIceImage = 34, kSteamImage = 35, kBeakerImage = 36, kRulerImage = 37;
constexpr int kMarkImage = 52, kClearImage = 14;
constexpr int kZoomCursor = 4;

QImage LoadIce() {
    if (TexturesFolder.isEmpty())
        return {};
    const QString path = ResolveContentPath(TexturesFolder, QStringLiteral("ice.bmp"));
    return path.isEmpty() ? QImage() : QImage(path);
}
} // namespace

TTempScaleFrm::TTempScaleFrm(QWidget* parent) : TPanel(parent) {
    setObjectName(QStringLiteral("TempScaleFrm"));
    Ice = LoadIce();
    m_toolbar = new TDockToolbar(QStringLiteral("Toolbar"), QStringLiteral("Temperature scale"), this);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolbar->setIconSize(QSize(24, 24));
    const TImageList& images = TDataMod::Instance()->Images24();
    auto button = [&](const char* name, const QString& caption, const QString& hint, int image) {
        QAction* a = m_toolbar->addAction(images.Icon(image), caption);
        a->setObjectName(QLatin1String(name));
        a->setProperty("image", image);
        a->setToolTip(hint.isEmpty() ? caption : hint);
        a->setStatusTip(hint);
        return a;
    };
    auto* liquids = new QActionGroup(this);
    IceBtn = button("IceBtn", QStringLiteral("0 \u00BAC"), QString(), kIceImage);
    SteamBtn = button("SteamBtn", QStringLiteral("100 \u00BAC"), QString(), kSteamImage);
    XBtn = button("XBtn", QStringLiteral("Unknown"), QString(), kIceImage);
    int liquid = 0;
    for (QAction* a : {IceBtn, SteamBtn, XBtn}) {
        a->setCheckable(true);
        liquids->addAction(a);
        connect(a, &QAction::triggered, this, [this, liquid] { IceBtnClick(liquid); });
        ++liquid;
    }
    IceBtn->setChecked(true);
    m_toolbar->addSeparator();
    MarkBtn = button("MarkBtn", QStringLiteral("Mark"), QStringLiteral("Add marker"), kMarkImage);
    ClearBtn = button("ClearBtn", QStringLiteral("Clear"), QStringLiteral("Remove markers"), kClearImage);
    ClearBtn->setEnabled(false);
    connect(MarkBtn, &QAction::triggered, this, &TTempScaleFrm::MarkBtnClick);
    connect(ClearBtn, &QAction::triggered, this, &TTempScaleFrm::ClearBtnClick);
    m_toolbar->addSeparator();
    auto* places = new QActionGroup(this);
    MeasureBtn = button("MeasureBtn", QStringLiteral("Measure"), QStringLiteral("Put the thermometer next to the ruler"),
                        kRulerImage);
    UnMeasureBtn = button("UnMeasureBtn", QString(), QStringLiteral("Put the thermometer in the beaker"), kBeakerImage);
    for (QAction* a : {MeasureBtn, UnMeasureBtn}) {
        a->setCheckable(true);
        places->addAction(a);
    }
    UnMeasureBtn->setChecked(true);
    connect(MeasureBtn, &QAction::triggered, this, [this] { MeasureBtnClick(true); });
    connect(UnMeasureBtn, &QAction::triggered, this, [this] { MeasureBtnClick(false); });

    Timer1 = new QTimer(this);
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &TTempScaleFrm::Redraw);

    Pic = new TPictureBox(QStringLiteral("Pic"), this);
    Pic->MouseDown = [this](QMouseEvent* e) { PicMouseDown(e->position().toPoint()); };
    Pic->MouseMove = [this](QMouseEvent* e) { PicMouseMove(e->position().toPoint()); };
    Pic->MouseUp = [this](QMouseEvent*) { PicMouseUp(); };
    Pic->Resized = [this](QSize) { Redraw(); };
    Model.Resize(height());
    Pic->setGeometry(0, 1, 400, TTempScaleModel::LayoutHeight(height()));
}

TTempScaleFrm::~TTempScaleFrm() = default;

void TTempScaleFrm::resizeEvent(QResizeEvent*) {
    Model.Resize(height());
    Pic->setGeometry(0, 1, 400, TTempScaleModel::LayoutHeight(height()));
    Redraw();
}

void TTempScaleFrm::Redraw() {
    QImage& img = Pic->Picture();
    if (img.size() != Pic->size())
        img = QImage(Pic->size(), QImage::Format_ARGB32_Premultiplied);
    Model.Draw(img, Ice);
    Pic->Present();
}

void TTempScaleFrm::UpdateTimer() {
    // The bubbles move only while the thermometer is in boiling water.
    const bool boiling = SteamBtn->isChecked() && !Model.Measuring;
    if (boiling != Timer1->isActive())
        boiling ? Timer1->start() : Timer1->stop();
}

void TTempScaleFrm::IceBtnClick(int liquid) {
    QAction* items[] = {IceBtn, SteamBtn, XBtn};
    items[liquid]->setChecked(true);
    if (!Model.ChooseLiquid(liquid))
        return;
    UpdateTimer();
    Redraw();
}

void TTempScaleFrm::MeasureBtnClick(bool beside) {
    (beside ? MeasureBtn : UnMeasureBtn)->setChecked(true);
    if (!Model.SetMeasuring(beside))
        return;
    MarkBtn->setEnabled(Model.MarkEnabled());
    UpdateTimer();
    Redraw();
}

void TTempScaleFrm::MarkBtnClick() {
    Model.Mark();
    ClearBtn->setEnabled(Model.Marks != 0);
    Redraw();
}

void TTempScaleFrm::ClearBtnClick() {
    Model.ClearMarks();
    ClearBtn->setEnabled(false);
    Redraw();
}

void TTempScaleFrm::PicMouseDown(QPoint pos) {
    if (Model.MouseDown(pos))
        Redraw();
}

void TTempScaleFrm::PicMouseMove(QPoint pos) {
    Model.MouseMove(pos);
    if (Model.Dragging) {
        Redraw();
        return;
    }
    if (Model.Measuring && Model.OverRuler(pos))
        Pic->setCursor(ScreenCursor(kZoomCursor));
    else
        Pic->setCursor(Qt::ArrowCursor);
}

void TTempScaleFrm::PicMouseUp() {
    if (Model.MouseUp())
        Redraw();
}

bool TTempScaleFrm::RunOperation(const QString& name, const QVariantList& args) {
    if (name != QLatin1String("TempScaleButton"))
        return false;
    const QString caption = args.value(0).toString();
    const struct {
        QAction* Button;
        std::function<void()> Click;
    } buttons[] = {{UnMeasureBtn, [this] { MeasureBtnClick(false); }},
                   {IceBtn, [this] { IceBtnClick(TTempScaleModel::kIce); }},
                   {MarkBtn, [this] { MarkBtnClick(); }},
                   {SteamBtn, [this] { IceBtnClick(TTempScaleModel::kSteam); }},
                   {XBtn, [this] { IceBtnClick(TTempScaleModel::kUnknown); }},
                   {MeasureBtn, [this] { MeasureBtnClick(true); }}};
    for (const auto& b : buttons) {
        if (b.Button->text() != caption && b.Button->toolTip() != caption)
            continue;
        // A page link stands for its button: a disabled button does nothing.
        if (b.Button->isEnabled())
            b.Click();
        break;
    }
    return true;
}

void TTempScaleFrm::SetLargeButtons(bool large) {
    m_toolbar->setUpdatesEnabled(false);
    const TImageList& images = TDataMod::Instance()->Images(large);
    for (QAction* a : m_toolbar->actions())
        if (a->property("image").isValid())
            a->setIcon(images.Icon(a->property("image").toInt()));
    m_toolbar->setIconSize(QSize(images.Size(), images.Size()));
    m_toolbar->setUpdatesEnabled(true);
}

void RegisterTempScalePanel() {
    TPanelInfo info;
    info.Create = [](QWidget* owner) { return new TTempScaleFrm(owner); };
    RegisterPanel(2023, info);
}

} // namespace quarvel
