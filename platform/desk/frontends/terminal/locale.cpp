// The UTF-8 thread locale curses runs under (see curses.h).
#include <langinfo.h>

#include <cstring>

#include "platform/desk/frontends/terminal/curses.h"

namespace desk {
namespace {

bool IsUtf8(locale_t locale) {
    const char* codeset = nl_langinfo_l(CODESET, locale);
    return codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0;
}

// Made once: the user's character type when it is UTF-8, else C.UTF-8.
// Only the character type is taken from the host; numbers and the rest stay
// those of the C locale.
locale_t Utf8Locale() {
    static locale_t locale = [] {
        locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
        if (user != static_cast<locale_t>(0) && IsUtf8(user)) return user;
        if (user != static_cast<locale_t>(0)) freelocale(user);
        return newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    }();
    return locale;
}

}  // namespace

bool TerminalLocale::Available() {
    return Utf8Locale() != static_cast<locale_t>(0);
}

TerminalLocale::TerminalLocale() : previous_(uselocale(Utf8Locale())) {}

TerminalLocale::~TerminalLocale() {
    uselocale(previous_);
}

}  // namespace desk
