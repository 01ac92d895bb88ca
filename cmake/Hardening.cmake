# The hardening Debian builds its packages with (dpkg-buildflags with
# hardening=+all), applied however the program is built: stack protector and
# stack clash protection, control-flow protection, checked string and memory
# functions (_FORTIFY_SOURCE, which needs optimisation), position-independent
# executables, and relocations read-only before main (RELRO, BIND_NOW).
# Sanitizer and fuzz builds leave _FORTIFY_SOURCE out: the sanitizers replace
# the same functions.
option(VM_HARDENING "Compile and link with Debian's hardening flags" ON)

if(VM_HARDENING)
  include(CheckPIESupported)
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  add_compile_options(-fstack-protector-strong -fstack-clash-protection -fcf-protection -Wformat
                      -Werror=format-security)
  if(NOT VM_SANITIZE AND NOT VM_SANITIZE_THREAD AND NOT VM_FUZZ)
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE> $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  endif()
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
