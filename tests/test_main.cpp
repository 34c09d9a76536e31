#include <gtest/gtest.h>

#include <iostream>

#include "charset/dbcs_tables.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (auto problem = typeloom::loadProgramDbcsTables()) {
        std::cerr << *problem << "\n";
        return 1;
    }
    return RUN_ALL_TESTS();
}
