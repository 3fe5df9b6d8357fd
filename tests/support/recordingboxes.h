#pragma once

#include "platform/messages/imessageboxes.h"

#include <QStringList>

#include <deque>
#include <functional>

/// Message boxes that remember what they were asked to show and answer as told: the questions
/// with questionAnswer, the save questions from saveAnswers and then with Cancel. onWarning runs
/// while a warning box would be open.
class RecordingBoxes : public IMessageBoxes {
public:
    void Warning(const QString& text) override {
        warnings.append(text);
        if (onWarning) {
            onWarning();
        }
    }
    void WarningWithDetails(const QString& text, const QString& details) override {
        this->details.append(details);
        Warning(text);
    }
    bool Question(const QString& text) override {
        questions.append(text);
        return questionAnswer;
    }
    SaveAnswer SaveQuestion(const QString& text) override {
        questions.append(text);
        if (saveAnswers.empty()) {
            return SaveAnswer::Cancel;
        }
        const SaveAnswer answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }

    QStringList warnings;
    /// The details of the warnings that had any, in order.
    QStringList details;
    QStringList questions;
    bool questionAnswer = true;
    std::deque<SaveAnswer> saveAnswers;
    std::function<void()> onWarning;
};
