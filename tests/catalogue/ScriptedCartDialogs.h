#pragma once

#include "catalogue/CartDialogs.h"

#include <QList>
#include <QStringList>

namespace pavlora::test {

// Answers the cart's questions from a script and records what was asked.
class ScriptedCartDialogs : public TCartDialogs {
public:
    TAppMsgDlgBtn Ask(const TCartMessage& message) override
    {
        messages.append(message);
        return answers.isEmpty() ? (message.buttons.isEmpty() ? bOK : message.buttons.front()) : answers.takeFirst();
    }
    QString SaveFileName(const TCartFileDialog& dialog) override
    {
        saveDialogs.append(dialog);
        return saveNames.isEmpty() ? QString() : saveNames.takeFirst();
    }
    QString OpenFileName(const TCartFileDialog& /*dialog*/) override
    {
        return openNames.isEmpty() ? QString() : openNames.takeFirst();
    }
    void ShowProgress(const QString& text, int /*steps*/) override { progressTexts.append(text); }

    QList<TAppMsgDlgBtn> answers;
    QStringList saveNames;
    QStringList openNames;
    QList<TCartMessage> messages;
    QList<TCartFileDialog> saveDialogs;
    QStringList progressTexts;
};

} // namespace pavlora::test
