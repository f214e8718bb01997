#include "models/forces/rfqfrm.h"

#include "common/rounding.h"
#include "widgets/dialogs.h"

#include <QButtonGroup>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace quarvel {

namespace {

// The drawing, repainted from the question on every change and resize.
class TQuestionPic : public QWidget {
public:
    TQuestionPic(TRFQFrm* form) : QWidget(form), m_form(form) { setMinimumSize(200, 200); }

protected:
    void paintEvent(QPaintEvent*) override {
        const QImage image = DrawResultantQuestion(m_form->Questions().Forces, size(), m_form->BlockSize());
        QPainter(this).drawImage(0, 0, image);
    }

private:
    TRFQFrm* m_form;
};

QPolygonF Arrow(QPointF at, float a, int side) {
    // The right-hand arrow, then turned for the other sides.
    const float r[][2] = {{0, 0.2f}, {2, 0.2f}, {2, 0.6f}, {2.6f, 0}, {2, -0.6f}, {2, -0.2f}, {0, -0.2f}};
    QPolygonF poly;
    for (const auto& p : r) {
        const double u = RoundHalfEven(p[0] * a), v = RoundHalfEven(p[1] * a);
        switch (side) {
        case DirRight: poly << at + QPointF(u, v); break;
        case DirLeft: poly << at + QPointF(-u, -v); break;
        case DirUp: poly << at + QPointF(v, -u); break;
        default: poly << at + QPointF(-v, u); break;
        }
    }
    return poly;
}

} // namespace

QImage TickPicture() {
    QImage pic(42, 42, QImage::Format_ARGB32);
    pic.fill(Qt::transparent);
    QPainter p(&pic);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x1E, 0x9E, 0x32), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(7, 22), QPointF(17, 33), QPointF(36, 8)}));
    return pic;
}

QImage CrossPicture() {
    QImage pic(42, 42, QImage::Format_ARGB32);
    pic.fill(Qt::transparent);
    QPainter p(&pic);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xD0, 0x1E, 0x1E), 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(34, 34));
    p.drawLine(QPointF(34, 8), QPointF(8, 34));
    return pic;
}

QImage DrawResultantQuestion(const TForces& f, QSize size, float blockSize) {
    QImage img(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    const float a = blockSize;
    const int cx = img.width() / 2, cy = img.height() / 2;
    p.setPen(Qt::black);
    p.setBrush(QColor(0xC0, 0xE1, 0xFF));
    p.drawRect(QRectF(cx - a, cy - a, 2 * a, 2 * a));

    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(std::max(8, int(RoundHalfEven(0.35f * a))) * 96 / 72);
    p.setFont(font);
    const QFontMetrics fm(font);
    const int forces[] = {f.Right, f.Left, f.Up, f.Down};
    const QPointF sides[] = {{cx + a, double(cy)}, {cx - a, double(cy)}, {double(cx), cy - a}, {double(cx), cy + a}};
    for (int side = 0; side < 4; ++side) {
        if (forces[side] == 0)
            continue;
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::black);
        p.setBrush(Qt::red);
        const QPolygonF arrow = Arrow(sides[side], a, side);
        p.drawPolygon(arrow);
        p.setRenderHint(QPainter::Antialiasing, false);
        const QString text = QStringLiteral("%1 N").arg(forces[side] * 5);
        const QPointF tip = arrow[3];
        const int w = fm.horizontalAdvance(text), h = fm.height();
        QRectF box;
        switch (side) {
        case DirRight: box = QRectF(tip.x() + 5, tip.y() - h / 2.0, w, h); break;
        case DirLeft: box = QRectF(tip.x() - 5 - w, tip.y() - h / 2.0, w, h); break;
        case DirUp: box = QRectF(tip.x() - w / 2.0, tip.y() - 5 - h, w, h); break;
        default: box = QRectF(tip.x() - w / 2.0, tip.y() + 5, w, h); break;
        }
        p.drawText(box, Qt::AlignCenter, text);
    }
    p.setPen(QColor(0x7F, 0x7F, 0x7F));
    p.setBrush(Qt::NoBrush);
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    return img;
}

TRFQFrm::TRFQFrm(QWidget* parent) : QDialog(parent), m_questions(SharedRandom()) {
    setObjectName(QStringLiteral("RFQFrm"));
    setWindowTitle(QStringLiteral("Find the resultant force"));
    setMinimumSize(500, 360);
    resize(560, 400);

    auto* left = new QWidget(this);
    auto* lv = new QVBoxLayout(left);
    Label1 = new QLabel(QStringLiteral("Enter the value of\nthe resultant force\nin the diagram."), left);
    ResEdit = new QLineEdit(left);
    ResEdit->setObjectName(QStringLiteral("ResEdit"));
    // Digits only, typed or pasted.
    ResEdit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), ResEdit));
    ResEdit->installEventFilter(this);
    Label3 = new QLabel(QStringLiteral("Choose the direction\nof the resultant force."), left);
    DirRG = new QGroupBox(left);
    DirRG->setObjectName(QStringLiteral("DirRG"));
    auto* rg = new QVBoxLayout(DirRG);
    DirButtons = new QButtonGroup(this);
    int id = 0;
    for (const char* name : {"Right", "Left", "Up", "Down"}) {
        auto* b = new QRadioButton(QLatin1String(name), DirRG);
        DirButtons->addButton(b, id++);
        rg->addWidget(b);
    }
    TickPic = new QLabel(left);
    TickPic->setPixmap(QPixmap::fromImage(TickPicture()));
    TickPic->setFixedSize(42, 42);
    CrossPic = new QLabel(left);
    CrossPic->setPixmap(QPixmap::fromImage(CrossPicture()));
    CrossPic->setFixedSize(42, 42);
    auto* verdict = new QWidget(left);
    verdict->setFixedSize(42, 42);
    TickPic->setParent(verdict);
    CrossPic->setParent(verdict);
    TickPic->hide();
    CrossPic->hide();
    lv->addWidget(Label1);
    lv->addWidget(ResEdit);
    lv->addSpacing(8);
    lv->addWidget(Label3);
    lv->addWidget(DirRG);
    lv->addWidget(verdict, 0, Qt::AlignHCenter);
    lv->addStretch();
    left->setFixedWidth(170);

    Pic = new TQuestionPic(this);
    Pic->setObjectName(QStringLiteral("pic"));

    auto* bottom = new QHBoxLayout;
    CheckBtn = new QPushButton(QStringLiteral("Check your answer"), this);
    NewBtn = new QPushButton(QStringLiteral("Next question"), this);
    CloseBtn = new QPushButton(QStringLiteral("Close test"), this);
    ScoreST = new QLabel(QStringLiteral("score 0"), this);
    ScoreST->setMinimumWidth(ScoreST->fontMetrics().horizontalAdvance(QStringLiteral("score 999/999")));
    CheckBtn->setAutoDefault(false);
    NewBtn->setAutoDefault(false);
    CloseBtn->setAutoDefault(false);
    bottom->addWidget(CheckBtn);
    bottom->addWidget(NewBtn);
    bottom->addWidget(CloseBtn);
    bottom->addSpacing(12);
    bottom->addWidget(ScoreST);
    bottom->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(left);
    top->addWidget(Pic, 1);
    auto* v = new QVBoxLayout(this);
    v->addLayout(top, 1);
    v->addLayout(bottom);

    connect(ResEdit, &QLineEdit::textChanged, this, [this] { UpdateCheck(); });
    connect(DirButtons, &QButtonGroup::idClicked, this, [this] {
        HideVerdict();
        UpdateCheck();
    });
    connect(CheckBtn, &QPushButton::clicked, this, &TRFQFrm::CheckBtnClick);
    connect(NewBtn, &QPushButton::clicked, this, &TRFQFrm::NewBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::reject);

    Pic->installEventFilter(this);
    m_questions.NewQuestion();
    CheckBtn->setEnabled(false);
}

int TRFQFrm::Direction() const { return DirButtons->checkedId(); }

void TRFQFrm::SetDirection(int index) {
    if (QAbstractButton* b = DirButtons->button(index))
        b->click();
}

void TRFQFrm::ShowQuestion(const TForces& f) {
    m_questions.SetForces(f);
    ClearAnswer();
}

void TRFQFrm::NewBtnClick() {
    m_questions.NewQuestion();
    ClearAnswer();
}

void TRFQFrm::ClearAnswer() {
    DirButtons->setExclusive(false);
    for (QAbstractButton* b : DirButtons->buttons())
        b->setChecked(false);
    DirButtons->setExclusive(true);
    ResEdit->clear();
    HideVerdict();
    ResEdit->setFocus();
    CheckBtn->setEnabled(false);
    Pic->update();
}

void TRFQFrm::HideVerdict() {
    TickPic->hide();
    CrossPic->hide();
}

void TRFQFrm::UpdateCheck() {
    // A question answered right waits for "Next question".
    CheckBtn->setEnabled(!ResEdit->text().isEmpty() && Direction() >= 0 && !m_questions.Answered());
}

void TRFQFrm::CheckBtnClick() {
    const auto verdict = m_questions.Check(ResEdit->text(), Direction());
    if (verdict == TResultantQuestions::AlreadyScored)
        return;
    const QString message = TResultantQuestions::Message(verdict);
    if (!message.isEmpty())
        ErrorBox(this, message);
    const bool right = verdict == TResultantQuestions::Right;
    TickPic->setVisible(right);
    CrossPic->setVisible(!right);
    ScoreST->setText(m_questions.ScoreText());
    if (right)
        CheckBtn->setEnabled(false);
}

bool TRFQFrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ResEdit && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        HideVerdict();
        const QString text = key->text();
        const bool digit = text.size() == 1 && text[0] >= QLatin1Char('0') && text[0] <= QLatin1Char('9');
        const bool edit = key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Left ||
                          key->key() == Qt::Key_Right || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
                          key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!digit && !edit)
            return true; // swallowed
    }
    if (watched == Pic && event->type() == QEvent::Resize) {
        m_blockSize = 0.1f * float(Pic->height());
        Pic->update();
    }
    return QDialog::eventFilter(watched, event);
}

void ShowResultantForceTest(QWidget* parent) {
    TRFQFrm form(parent);
    if (QScreen* screen = parent ? parent->screen() : nullptr)
        form.move(screen->geometry().center() - form.rect().center());
    form.exec();
}

} // namespace quarvel
