# vm_warnings: the warnings every target of ours compiles with, as errors.
# Third-party headers (Qt, GoogleTest, Google Benchmark) come in through
# imported targets, so they are -isystem and stay quiet.
option(VM_WERROR "Treat compiler warnings as errors (packagers may turn this off)" ON)

add_library(vm_warnings INTERFACE)
target_compile_options(vm_warnings INTERFACE
  -Wall -Wextra -Wpedantic
  -Wshadow -Wold-style-cast -Wcast-align -Wnull-dereference
  -Wnon-virtual-dtor -Woverloaded-virtual -Wextra-semi
  $<$<BOOL:${VM_WERROR}>:-Werror>)

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
