# Stored networks and written numbers depend on x87 80-bit arithmetic (64-bit significand).
include(CheckCXXSourceCompiles)
check_cxx_source_compiles("
#include <cfloat>
#if LDBL_MANT_DIG != 64
#error long double is not the x87 extended format
#endif
int main() { return 0; }" TAVRIN_HAS_X87_LONG_DOUBLE)
if(NOT TAVRIN_HAS_X87_LONG_DOUBLE)
    message(FATAL_ERROR
        "Tavrin needs long double to be the x87 80-bit extended format (64-bit significand), "
        "as GCC and Clang provide on x86-64. This compiler or target (for example MSVC or "
        "aarch64) does not, and the generated networks would differ.")
endif()
