#include "cli/QuestionnaireCommand.h"

#include "cli/Options.h"
#include "core/Catalogue.h"
#include "core/SettingsKeys.h"
#include "reports/QuestionnairePrintout.h"

#include <QDir>

namespace halcyra::cli {
namespace {

constexpr int kLargestSize = 72;

} // namespace

int QuestionnaireCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Options options(name(), QStringLiteral("--out FILE.pdf [--font NAME] [--size N]"),
                    QStringLiteral("Writes the questionnaire a client fills in by hand, as the "
                                   "program prints it.\nThe font defaults to Times New Roman, "
                                   "size 8. No client data is printed on it."));
    for (const char* value : {"out", "font", "size"})
        options.addValue(QString::fromLatin1(value));
    if (const auto stop = options.parse(arguments, out, err))
        return *stop;
    const QString path = options.value(QStringLiteral("out"));
    if (path.isEmpty()) {
        err << "halcyra-cli questionnaire: give --out FILE.pdf.\n";
        return kExitUsage;
    }
    UserPrompts::FontChoice font{
        options.value(QStringLiteral("font"), keys::formatQName().defaultValue),
        keys::formatQSize().defaultValue.toInt()};
    if (options.isSet(QStringLiteral("size"))) {
        bool isNumber = false;
        font.size = options.value(QStringLiteral("size")).toInt(&isNumber);
        if (!isNumber || font.size < 1 || font.size > kLargestSize) {
            err << "halcyra-cli questionnaire: --size needs a whole number from 1 to "
                << kLargestSize << ".\n";
            return kExitUsage;
        }
    }
    if (font.name.trimmed().isEmpty()) {
        err << "halcyra-cli questionnaire: --font needs a font name.\n";
        return kExitUsage;
    }
    const Result<int> pages = writeQuestionnairePdf(path, Catalogue::builtIn(), font);
    if (!pages) {
        err << "halcyra-cli questionnaire: " << QDir::toNativeSeparators(path)
            << " was not written: " << pages.error() << '\n';
        return kExitFailed;
    }
    out << "Wrote " << QDir::toNativeSeparators(path) << " (" << *pages << " pages).\n";
    return kExitOk;
}

} // namespace halcyra::cli
