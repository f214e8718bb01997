#include "models/forces/rfquestions.h"

#include <cstdlib>

namespace quarvel {

TForces ChooseForces(const TForces& previous, TRandom& random) {
    TForces f;
    for (;;) {
        f.Right = random.RandomInt(7);
        f.Left = random.RandomInt(7);
        if (f.Right == f.Left) {
            f.Up = random.RandomInt(7);
            f.Down = random.RandomInt(7);
        } else {
            f.Up = f.Down = random.RandomInt(7);
        }
        const bool allChanged = f.Right != previous.Right && f.Left != previous.Left && f.Up != previous.Up &&
                                f.Down != previous.Down;
        if (allChanged && f.Right + f.Up != f.Left + f.Down)
            return f;
    }
}

int ResultantNewtons(const TForces& f) {
    if (f.Right != f.Left)
        return 5 * std::abs(f.Right - f.Left);
    return 5 * std::abs(f.Up - f.Down);
}

TDirection ResultantDirection(const TForces& f) {
    if (f.Right != f.Left)
        return f.Right > f.Left ? DirRight : DirLeft;
    return f.Up > f.Down ? DirUp : DirDown;
}

TResultantQuestions::TResultantQuestions(TRandom& random) : m_random(random) {}

void TResultantQuestions::NewQuestion() {
    if (Seeder)
        Seeder(m_random);
    SetForces(ChooseForces(Forces, m_random));
}

void TResultantQuestions::SetForces(const TForces& f) {
    Forces = f;
    m_answered = false;
}

TResultantQuestions::TVerdict TResultantQuestions::Check(const QString& answer, int direction) {
    // A question answered right is not scored again.
    if (m_answered)
        return AlreadyScored;
    ++Attempts;
    const bool chosen = direction >= DirRight && direction <= DirDown;
    if (answer.isEmpty())
        return chosen ? NoValue : NoValueNoDirection;
    if (!chosen)
        return NoDirection;
    bool ok = false;
    const int n = answer.toInt(&ok);
    if (!ok)
        return Wrong;
    bool right;
    if (Forces.Right != Forces.Left || Forces.Up != Forces.Down)
        right = n == ResultantNewtons(Forces) && direction == ResultantDirection(Forces);
    else
        right = n == 0; // balanced both ways: no direction to give
    if (!right)
        return Wrong;
    ++Correct;
    m_answered = true;
    return Right;
}

QString TResultantQuestions::ScoreText() const {
    if (Attempts == 0)
        return QStringLiteral("score 0");
    return QStringLiteral("score %1/%2").arg(Correct).arg(Attempts);
}

QString TResultantQuestions::Message(TVerdict v) {
    switch (v) {
    case NoValueNoDirection: return QStringLiteral("Enter a value for the resultant force\r\n and choose  direction");
    case NoValue: return QStringLiteral("Enter a value for the resultant force");
    case NoDirection: return QStringLiteral("Choose a direction");
    default: return QString();
    }
}

} // namespace quarvel
