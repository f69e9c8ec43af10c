// libFuzzer target: reading any text in any locale never crashes or overflows, stays within
// the range, and every form the program writes for what it read reads back to the same cents.
#include "money/money.h"

#include <cstdint>
#include <cstdlib>

namespace {
// The first two bytes pick the locale among all the locales there are.
const QLocale& localeFor(uint8_t high, uint8_t low)
{
    static const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    return locales.at((high << 8 | low) % locales.size());
}

void require(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const QLocale& locale = localeFor(data[0], data[1]);
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
    const money::Amount amount = money::read(text, locale);
    if (amount.status != money::Status::Number) {
        require(amount.cents == 0);
        return 0;
    }
    require(amount.cents > -money::LimitCents && amount.cents < money::LimitCents);
    for (const QString& written :
         {money::standard(amount.cents, locale), money::currency(amount.cents, locale),
          money::plain(amount.cents, locale)}) {
        const money::Amount back = money::read(written, locale);
        require(back.status == money::Status::Number && back.cents == amount.cents);
    }
    return 0;
}
