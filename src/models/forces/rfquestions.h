#pragma once
// "Find the resultant force": a block with up to four forces on it (right,
// left, up, down, each 0..6 units of 5 N), whose resultant lies along one
// axis only and is never zero. The pupil gives its size and direction; each
// question is scored once, and the score counts every check.

#include "common/random.h"

#include <QString>
#include <functional>

namespace quarvel {

struct TForces {
    int Right = 0, Left = 0, Up = 0, Down = 0; // units of 5 N
    bool operator==(const TForces&) const = default;
};

enum TDirection : int { DirNone = -1, DirRight = 0, DirLeft = 1, DirUp = 2, DirDown = 3 };

// Draws forces that all differ from `previous` and have a non-zero resultant
// along one axis only.
TForces ChooseForces(const TForces& previous, TRandom& random);

// The resultant in newtons (always >= 0) and its direction.
int ResultantNewtons(const TForces& f);
TDirection ResultantDirection(const TForces& f);

class TResultantQuestions {
public:
    explicit TResultantQuestions(TRandom& random);
    // Seeds the generator before a question is chosen: once per question,
    // so that the choosing loop's draws follow one another.
    std::function<void(TRandom&)> Seeder = [](TRandom& r) { r.Randomize(); };

    enum TVerdict {
        Right,
        Wrong,
        NoValueNoDirection, // "Enter a value ... and choose  direction"
        NoValue,            // "Enter a value for the resultant force"
        NoDirection,        // "Choose a direction"
        AlreadyScored,      // the question was answered right: nothing is scored
    };

    TForces Forces;
    int Attempts = 0;
    int Correct = 0;

    void NewQuestion();
    // Sets the question (for a known drawing); it has not been answered.
    void SetForces(const TForces& f);
    // Judges `answer` (the edit's text) with `direction` and keeps the score.
    TVerdict Check(const QString& answer, int direction);
    bool Answered() const { return m_answered; }
    // "score 0" before the first check, then "score correct/attempts".
    QString ScoreText() const;

    static QString Message(TVerdict v);

private:
    TRandom& m_random;
    bool m_answered = false;
};

} // namespace quarvel
