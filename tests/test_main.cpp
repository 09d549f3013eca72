// main of every test program. Calling a C export here puts lorvexops.dll in
// the program's import table: without one import Wine never loads and
// initialises the DLL, and a suite that uses only its C++ classes would crash
// on the library's first Win32 call.
#include <lorvexops/lorvexops.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (!LorvexGetModuleInstance())
        return 1;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
