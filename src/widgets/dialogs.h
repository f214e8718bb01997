#pragma once
// Modal message boxes of Vantrel. Everything that asks or reports goes
// through here so that tests can answer the questions and read the texts
// without a person at the screen.

#include <QString>
#include <functional>

class QWidget;

namespace quarvel {

enum class TBoxKind { Error, Information, Confirmation };

struct TBoxRequest {
    TBoxKind Kind;
    QString Title;
    QString Text;
};

// Returns true for Yes (confirmations) or OK.
bool ShowBox(QWidget* parent, TBoxKind kind, const QString& text);

inline void ErrorBox(QWidget* parent, const QString& text) {
    ShowBox(parent, TBoxKind::Error, text);
}
inline bool ConfirmBox(QWidget* parent, const QString& text) {
    return ShowBox(parent, TBoxKind::Confirmation, text);
}

// Tests install an answerer; it sees every box instead of the user.
using TBoxAnswerer = std::function<bool(const TBoxRequest&)>;
void SetBoxAnswerer(TBoxAnswerer answerer);

} // namespace quarvel
