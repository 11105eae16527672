#pragma once

#include "cli/Command.h"
#include "core/Catalogue.h"
#include "core/Result.h"
#include "reports/ProfileInput.h"

#include <optional>

namespace halcyra::cli {

class Options;

// Evaluates one profile from score texts given on the command line and prints its Summary
// rows, Analysis titles and supplement guide, as text or as one JSON object.
class ProfileCommand final : public Command
{
public:
    ProfileCommand() = default;
    // Works on the given catalogue instead of the built-in one.
    explicit ProfileCommand(Catalogue catalogue) : m_catalogue(std::move(catalogue)) {}

    QString name() const override { return QStringLiteral("profile"); }
    QString summary() const override
    {
        return QStringLiteral("Evaluate one profile and compute its supplement guide.");
    }
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;

private:
    std::optional<Catalogue> m_catalogue;
};

// Builds the profile from the options --scores, --yes-no, --age, --sex, --total-cholesterol
// and --hdl. Fails with the reason when a value cannot be used.
Result<ProfileInput> profileInputFromOptions(const Options& options);

} // namespace halcyra::cli
