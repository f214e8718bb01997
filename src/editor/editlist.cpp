// The question list: its items and check marks, moving, deleting and
// renumbering, and the menu items that follow the list.

#include "editor/editfrm.h"

#include "editor/editfrmparts.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>

namespace quarvel {

namespace {
QString QuestionCaption(int number) { return QStringLiteral("Question ") + QString::number(number); }
} // namespace

TQuestionItem::TQuestionItem(const TMCQuestion& q, int number)
    : QListWidgetItem(QuestionCaption(number), nullptr, QListWidgetItem::UserType), Question(q) {
    setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    setCheckState(Qt::Unchecked);
}

int TEditFrm::Count() const { return QListBox->count(); }

TQuestionItem* TEditFrm::Item(int index) const {
    return static_cast<TQuestionItem*>(QListBox->item(index));
}

TMCQuestion* TEditFrm::Question(int index) const {
    TQuestionItem* item = Item(index);
    return item ? &item->Question : nullptr;
}

int TEditFrm::Selected() const { return QListBox->currentRow(); }

void TEditFrm::Select(int index) {
    const QSignalBlocker block(QListBox);
    if (index < 0 || index >= Count()) {
        QListBox->setCurrentRow(-1);
        QListBox->clearSelection();
    } else {
        QListBox->setCurrentRow(index);
    }
}

bool TEditFrm::IsChecked(int index) const {
    const TQuestionItem* item = Item(index);
    return item && item->checkState() == Qt::Checked;
}

void TEditFrm::SetChecked(int index, bool checked) {
    if (TQuestionItem* item = Item(index))
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

std::vector<TMCQuestion> TEditFrm::Questions() const {
    std::vector<TMCQuestion> out;
    out.reserve(std::size_t(Count()));
    for (int i = 0; i < Count(); ++i)
        out.push_back(Item(i)->Question);
    return out;
}

std::vector<const TMCQuestion*> TEditFrm::CheckedQuestions() const {
    std::vector<const TMCQuestion*> out;
    for (int i = 0; i < Count(); ++i)
        if (IsChecked(i))
            out.push_back(Question(i));
    return out;
}

void TEditFrm::ReplaceList(std::vector<TMCQuestion>&& questions) {
    const QSignalBlocker block(QListBox);
    QListBox->setUpdatesEnabled(false);
    QListBox->clear();
    AppendQuestions(std::move(questions));
    QListBox->setUpdatesEnabled(true);
}

void TEditFrm::AppendQuestions(std::vector<TMCQuestion>&& questions) {
    const QSignalBlocker block(QListBox);
    int number = Count();
    for (TMCQuestion& q : questions)
        QListBox->addItem(new TQuestionItem(q, ++number));
}

void TEditFrm::MoveBtnClick(bool up) {
    const int i = Selected();
    if (i < 0 || EditMode != emBrowse)
        return;
    const int j = up ? i - 1 : i + 1;
    if (j < 0 || j >= Count())
        return;
    const QSignalBlocker block(QListBox);
    QListWidgetItem* item = QListBox->takeItem(i);
    QListBox->insertItem(j, item);
    Select(j);
    MarkChanged();
    RefreshListButtons();
}

void TEditFrm::DeleteBtnClick() {
    const int i = Selected();
    if (i < 0 || EditMode != emBrowse)
        return;
    if (!ConfirmBox(this, QStringLiteral("Delete the selected question?")))
        return;
    {
        const QSignalBlocker block(QListBox);
        delete QListBox->takeItem(i);
    }
    MarkChanged();
    Select(i < Count() ? i : -1);
    ShowSelectedQuestion();
    RefreshListButtons();
    RefreshControls();
}

void TEditFrm::Renumber1Click() {
    for (int i = 0; i < Count(); ++i)
        Item(i)->setText(QuestionCaption(i + 1));
    MarkChanged();
}

void TEditFrm::CheckAll1Click() {
    for (int i = 0; i < Count(); ++i)
        SetChecked(i, true);
}

void TEditFrm::Clearchecks1Click() {
    for (int i = 0; i < Count(); ++i)
        SetChecked(i, false);
}

void TEditFrm::File1Popup() {
    const bool any = Count() > 0;
    Save1->setEnabled(any);
    SaveAs1->setEnabled(any);
    Import1->setEnabled(any);
    Questionfile1->setEnabled(!CheckedQuestions().empty());
    Print1->setEnabled(any);
    Print1->menuAction()->setEnabled(any);
}

void TEditFrm::Print1Popup() {
    PrintAll1->setEnabled(Count() > 0);
    PrintSelected1->setEnabled(!CheckedQuestions().empty());
}

void TEditFrm::Questions1Popup() {
    const int checked = int(CheckedQuestions().size());
    CheckAll1->setEnabled(checked < Count());
    Clearchecks1->setEnabled(checked > 0);
    Renumber1->setEnabled(Count() > 0);
}

void TEditFrm::RefreshListButtons() {
    const bool browse = EditMode == emBrowse;
    const int i = Selected();
    UpBtn->setEnabled(browse && i > 0);
    DownBtn->setEnabled(browse && i >= 0 && i < Count() - 1);
    DeleteBtn->setEnabled(browse && i >= 0);
    QListBox->setEnabled(browse);
}

} // namespace quarvel
