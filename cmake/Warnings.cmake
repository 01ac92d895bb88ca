# vm_warnings: the warnings every target of ours compiles with.
# Third-party headers (Qt, GoogleTest, Google Benchmark) come in through
# imported targets, so they are -isystem and stay quiet.
# Warnings are errors only when asked for: a packager's compiler may warn
# where ours does not, and that must not stop the build. ./test.sh and CI
# configure with -DVM_WERROR=ON.
option(VM_WERROR "Treat compiler warnings as errors (./test.sh turns it on)" OFF)

add_library(vm_warnings INTERFACE)
target_compile_options(vm_warnings INTERFACE
  -Wall -Wextra -Wpedantic
  -Wshadow -Wold-style-cast -Wcast-align
  -Wnon-virtual-dtor -Woverloaded-virtual -Wextra-semi
  # Narrowing of values (int to short, double to int) is said; signedness
  # alone (int to size_t) is not, as Qt's sizes are signed.
  -Wconversion -Wno-sign-conversion
  $<$<BOOL:${VM_WERROR}>:-Werror>)
# GCC finds null dereferences only in the optimiser's view of the code, and at
# -O3 it reports paths of Qt's inline container code that cannot happen;
# clang's check looks at the source and is kept everywhere.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(vm_warnings INTERFACE $<$<NOT:$<CONFIG:Release>>:-Wnull-dereference>)
else()
  target_compile_options(vm_warnings INTERFACE -Wnull-dereference)
endif()

# Links vm_warnings into every compiled target defined under the given folders.
# Doing it here rather than in each folder's CMakeLists.txt means a new
# library, program or test picks the warnings up without anyone remembering to.
function(vm_link_warnings)
  foreach(dir IN LISTS ARGN)
    get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
    foreach(t IN LISTS targets)
      get_target_property(type ${t} TYPE)
      if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
        target_link_libraries(${t} PRIVATE vm_warnings)
      endif()
    endforeach()
    get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
    vm_link_warnings(${subdirs})
  endforeach()
endfunction()
