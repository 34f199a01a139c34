// One main for the window programs: an application object and the SNMP engine, then the tests.
#include <gtest/gtest.h>

#include <QApplication>

#include "snmp/common_snmp.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SnmpEngineInit();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
