# Hardening, as a distribution would build the game: a stack canary in every function that
# keeps an array or lends out a local, read-only relocations bound at start-up, and checked
# variants of the C library's buffer calls. Position-independent as the compiler makes programs
# by default here (asking CMake for it would build the game's libraries -fPIC, which holds back
# inlining).
add_compile_options(-fstack-protector-strong)
add_link_options(-Wl,-z,relro,-z,now)

# Fortified calls need the optimiser (glibc warns without it, so not in Debug), and would hide
# buffer overruns from AddressSanitizer, which checks the plain calls itself. Flags that already
# choose a level (a distribution's own) are left alone.
if(NOT TORVANE_SANITIZE AND NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE")
  add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
endif()
