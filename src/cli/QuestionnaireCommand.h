#pragma once

#include "cli/Command.h"

namespace halcyra::cli {

// Writes the blank paper questionnaire as a PDF file.
class QuestionnaireCommand final : public Command
{
public:
    QString name() const override { return QStringLiteral("questionnaire"); }
    QString summary() const override
    {
        return QStringLiteral("Write the blank questionnaire printout as a PDF file.");
    }
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;
};

} // namespace halcyra::cli
