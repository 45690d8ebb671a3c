#include <gtest/gtest.h>

#include "platform/ui/QtPrompts.h"

// The program's filters name their patterns in the label too; Qt's dialog shows its own list.
TEST(QtPrompts, FiltersBecomeQtsFormWithOneListOfPatterns) {
    const std::pair<const char*, const char*> cases[] = {
        {"Quenmark Project (*.qmp)|*.qmp|All Files (*.*)|*.*|",
         "Quenmark Project (*.qmp);;All Files (*)"},
        {"SNES ROM files (*.SMC;*.SFC;*.ROM;*.BS)|*.smc;*.sfc;*.rom;*.bs|",
         "SNES ROM files (*.smc *.sfc *.rom *.bs)"},
        {"Map file|*.map|", "Map file (*.map)"},
    };
    for (const auto& [filter, qt] : cases) {
        EXPECT_EQ(ToQtFileFilter(filter).toStdString(), qt) << filter;
    }
}
