#include "palettes/ShippedPaletteOffer.h"

#include "app/platform/Platform.h"
#include "palettes/ShippedPalettes.h"

namespace {

void report(Platform& platform, const FileResult& result)
{
    if (!result)
        platform.showMessage(nullptr, result.message, Platform::Buttons::Ok,
                             Platform::Icon::Warning, QStringLiteral("Tintora"));
}

} // namespace

void offerShippedPalettes(Platform& platform, const QString& shippedFolder,
                          const QString& dataFolder)
{
    const shippedpalettes::Check check = shippedpalettes::NewPalettes(shippedFolder, dataFolder);
    report(platform, check.result);
    if (check.fresh.isEmpty())
        return;
    QStringList names;
    for (const paletteindex::Entry& palette : check.fresh)
        names.append(QStringLiteral("    ") + palette.name);
    const QString question =
        QStringLiteral(
            "This version of Tintora comes with palettes that are not in your palette list:\n\n%1"
            "\n\nAdd them to your palette list?")
            .arg(names.join(QLatin1Char('\n')));
    const Platform::Answer answer =
        platform.showMessage(nullptr, question, Platform::Buttons::YesNo, Platform::Icon::Question,
                             QStringLiteral("Tintora"));
    report(platform, answer == Platform::Answer::Yes
                         ? shippedpalettes::Add(shippedFolder, dataFolder, check.fresh)
                         : shippedpalettes::Decline(dataFolder, check.fresh));
}
