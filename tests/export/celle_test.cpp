// The rules of the sheet's cells that a workbook reader cannot tell apart from
// the library's own rounding: the sheet's name.
#include "export/celle.h"

#include <gtest/gtest.h>

namespace pliventa {
namespace {

TEST(Celle, SheetNameIsThirtyCharactersWithoutColons) {
    std::tm quando{};
    quando.tm_mday = 5;
    quando.tm_mon = 2;
    quando.tm_year = 104;
    quando.tm_hour = 9;
    quando.tm_min = 7;
    quando.tm_sec = 2;
    EXPECT_EQ(nomeFoglio(quando), "Estrazione 05-03-2004 09.07.02");
    EXPECT_EQ(nomeFoglioDiAdesso().size(), 30u);
}

}  // namespace
}  // namespace pliventa
