#pragma once
// Page commands: links whose last segment is a word starting with "+"
// ("+run", "+moon3", "+series", ...) act on the content of the current
// topic. Which word does what for which topic is the table in
// pagecommands.cpp; each row is a list of steps, each step a named
// operation with its values. The host, the models and the panels register
// the operations they carry out in a TOperationRegistry; a step whose
// operation nobody has registered yet does nothing.

#include <QHash>
#include <QList>
#include <QString>
#include <QVariantList>
#include <cstdint>
#include <functional>
#include <optional>

namespace quarvel {

struct TCommandStep {
    QString Operation;
    QVariantList Args;
    bool operator==(const TCommandStep& o) const { return Operation == o.Operation && Args == o.Args; }
};
using TCommandSteps = QList<TCommandStep>;

// Topics whose page commands reach an experiment panel: they act only when
// the panel container's first child is a panel (the lens panel, 2007, is
// taken as present).
bool IsPanelCommandTopic(std::int32_t topic);

// What `word` does on `topic`, or nothing: while `busy`; for an unknown word
// or another topic's word; for a panel topic without its panel. Words are
// compared exactly, case included. "+run" starts the animation on every
// topic that has a frame timer (1..16) and does nothing elsewhere.
std::optional<TCommandSteps> RoutePageCommand(const QString& word, std::int32_t topic, bool busy,
                                              bool panelPresent);

// What a page reached with Back or Forward sets up again (by page name,
// upper case), for the current topic.
std::optional<TCommandStep> PageStateFor(std::int32_t topic, const QString& pageName);

class TOperationRegistry {
public:
    using TOperation = std::function<void(const QVariantList&)>;
    void Register(const QString& name, TOperation op) { m_ops.insert(name, std::move(op)); }
    bool Has(const QString& name) const { return m_ops.contains(name); }
    // Asked for steps nobody registered (the hosted panel's own, for one);
    // returns whether it carried the step out.
    std::function<bool(const QString& name, const QVariantList& args)> Fallback;
    // Runs the registered steps in order; returns how many ran.
    int Run(const TCommandSteps& steps) const;

private:
    QHash<QString, TOperation> m_ops;
};

} // namespace quarvel
