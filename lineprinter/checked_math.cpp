#include "lineprinter/checked_math.h"

#include <stdexcept>
#include <string>

[[noreturn]] void lineprinter_detail::ThrowOverflow(const char* What)
{
    throw std::overflow_error(std::string(What) + " überschreitet den Zahlenbereich");
}
