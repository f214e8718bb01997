#include "widgets/dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace quarvel {

namespace {
TBoxAnswerer& Answerer() {
    static TBoxAnswerer answerer;
    return answerer;
}
} // namespace

void SetBoxAnswerer(TBoxAnswerer answerer) { Answerer() = std::move(answerer); }

bool ShowBox(QWidget* parent, TBoxKind kind, const QString& text) {
    const QString title = QApplication::applicationDisplayName();
    if (Answerer())
        return Answerer()(TBoxRequest{kind, title, text});
    switch (kind) {
    case TBoxKind::Error:
        QMessageBox::critical(parent, title, text, QMessageBox::Ok);
        return true;
    case TBoxKind::Information:
        QMessageBox::information(parent, title, text, QMessageBox::Ok);
        return true;
    case TBoxKind::Confirmation:
        return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    }
    return false;
}

} // namespace quarvel
