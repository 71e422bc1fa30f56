# Hardening, as a distribution would build the game: a canary on every frame that keeps an
# array, read-only relocations bound at start-up, and checked variants of the C library's
# buffer calls, in a position-independent program.
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
add_compile_options(-fstack-protector-strong)
add_link_options(-Wl,-z,relro,-z,now)

# Fortified calls need the optimiser (glibc warns without it, so not in Debug), and would hide
# buffer overruns from AddressSanitizer, which checks the plain calls itself. Flags that already
# choose a level (a distribution's own) are left alone.
if(NOT TORVANE_SANITIZE AND NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE")
  add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
endif()
