// The About box: the logo, the program's name and its version.

#include "editor/editfrm.h"

#include "common/version.h"
#include "editor/editoricons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quarvel {

namespace {
class TAboutDlg : public QDialog {
public:
    explicit TAboutDlg(QWidget* parent) : QDialog(parent) {
        setObjectName(QStringLiteral("AboutDlg"));
        setWindowTitle(QStringLiteral("About"));
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(13);
        setFont(f);
        auto* layout = new QVBoxLayout(this);
        auto* top = new QHBoxLayout;
        auto* logo = new QLabel(this);
        logo->setPixmap(EditorIcon(QStringLiteral("PreloxLogo"), 64).pixmap(64, 64));
        top->addWidget(logo, 0, Qt::AlignTop);
        auto* texts = new QVBoxLayout;
        auto* name = new QLabel(QStringLiteral("Quarvel - Question Editor"), this);
        QFont bold = f;
        bold.setBold(true);
        name->setFont(bold);
        texts->addWidget(name);
        auto* version = new QLabel(QStringLiteral("Version ") + FileVersionText(), this);
        version->setObjectName(QStringLiteral("VersionLabel"));
        texts->addWidget(version);
        texts->addStretch(1);
        top->addLayout(texts);
        layout->addLayout(top);
        auto* ok = new QPushButton(QStringLiteral("OK"), this);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        layout->addWidget(ok, 0, Qt::AlignHCenter);
        layout->setSizeConstraint(QLayout::SetFixedSize);
    }
    // The four parts of the program's version, most significant first.
    static QString FileVersionText() {
        QStringList parts = VersionText().split(QLatin1Char('.'));
        while (parts.size() < 4)
            parts << QStringLiteral("0");
        return QStringLiteral("%1.%2.%3.%4").arg(parts[0].toInt()).arg(parts[1].toInt()).arg(parts[2].toInt()).arg(
            parts[3].toInt());
    }
};
} // namespace

void TEditFrm::About1Click() {
    TAboutDlg dialog(this);
    dialog.exec();
}

} // namespace quarvel
