# Host build: the core over the sandboxed Windows model, the tools, the tests.
option(VANTOREL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(VANTOREL_SANITIZE)
  set(VANTOREL_SANITIZE_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
      -fno-sanitize-recover=all)
  add_compile_options(${VANTOREL_SANITIZE_FLAGS})
  add_link_options(-fsanitize=address,undefined)
  # The core and the platform are defined before this file is read, and
  # add_compile_options reaches only targets defined after it: without these
  # the sanitizers would check the tests but not the code they test.
  foreach(t vantorel_core vantorel_platform)
    target_compile_options(${t} PRIVATE ${VANTOREL_SANITIZE_FLAGS})
  endforeach()
endif()

# The model's hash is libcrypto's, as Windows' is CryptoAPI's.
find_package(OpenSSL REQUIRED COMPONENTS Crypto)
target_link_libraries(vantorel_platform PUBLIC OpenSSL::Crypto)

# Packed install set written by the windows build (vantorel-pack over payload/).
set(VANTOREL_PACKED_DIR ${CMAKE_SOURCE_DIR}/build/windows/packed CACHE PATH
    "Folder of the packed install set that the host programs embed")

# vantorel_embed_install_set(target): the target carries the packed install
# set, with the same names and bytes as VantorelSetup.exe, and its entry
# installs it before anything looks a resource up. Without a pack the compile
# stops with a message that says to build the windows preset first.
# The packed files go in by the assembler's .incbin, which finds them on its
# include path; the compiler does not record them as dependencies, so the
# object lists them itself (the glob is checked again at every build, so a
# pack made after configuring is picked up).
file(GLOB VANTOREL_PACKED_FILES CONFIGURE_DEPENDS ${VANTOREL_PACKED_DIR}/*.lzf
     ${VANTOREL_PACKED_DIR}/*.bin)
function(vantorel_embed_install_set target)
  set(source ${CMAKE_SOURCE_DIR}/setup/entry/EmbeddedInstallSet.cpp)
  target_sources(${target} PRIVATE ${source})
  target_compile_definitions(${target} PRIVATE VANTOREL_EMBEDDED_INSTALL_SET
    VANTOREL_INSTALL_SET_SOURCE="${VANTOREL_PACKED_DIR}/installset_host.cpp")
  target_compile_options(${target} PRIVATE "-Wa,-I${VANTOREL_PACKED_DIR}")
  set_source_files_properties(${source} TARGET_DIRECTORY ${target} PROPERTIES
    OBJECT_DEPENDS "${VANTOREL_PACKED_FILES}")
endfunction()

if(EXISTS ${CMAKE_SOURCE_DIR}/tools/CMakeLists.txt)
  add_subdirectory(tools)
endif()

add_executable(vantorel-setup setup/entry/HostMain.cpp)
target_link_libraries(vantorel-setup PRIVATE vantorel_core)
if(COMMAND vantorel_embed_install_set)
  vantorel_embed_install_set(vantorel-setup)
endif()

enable_testing()
add_subdirectory(tests)
add_subdirectory(tests/payload)
if(EXISTS ${CMAKE_SOURCE_DIR}/uninstaller/CMakeLists.txt)
  add_subdirectory(uninstaller)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
  add_subdirectory(bench)
endif()
