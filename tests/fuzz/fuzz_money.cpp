// libFuzzer target: reading any text never crashes or overflows, stays within the range, and
// every form the program writes reads back to the same cents.
#include "money/money.h"

#include <cstdint>
#include <cstdlib>

namespace {
const QLocale& localeFor(uint8_t selector)
{
    static const QLocale locales[] = {
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::German, QLocale::Germany),
        QLocale(QLocale::French, QLocale::France),
        QLocale(QLocale::English, QLocale::India),
        QLocale(QLocale::German, QLocale::Switzerland),
        QLocale(QLocale::Arabic, QLocale::Egypt),
    };
    return locales[selector % std::size(locales)];
}

void require(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QLocale& locale = localeFor(data[0]);
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
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
