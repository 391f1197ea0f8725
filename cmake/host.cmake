# Host build: the core over the sandboxed Windows model, the tools, the tests.
option(VANTOREL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(VANTOREL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# Packed install set written by the windows build (vantorel-pack over payload/).
set(VANTOREL_PACKED_DIR ${CMAKE_SOURCE_DIR}/build/windows/packed CACHE PATH
    "Folder of the packed install set that the host programs embed")

if(EXISTS ${CMAKE_SOURCE_DIR}/tools/CMakeLists.txt)
  add_subdirectory(tools)
endif()

add_executable(vantorel-setup platform/host/entry/SetupMain.cpp)
target_link_libraries(vantorel-setup PRIVATE vantorel_core)
if(COMMAND vantorel_embed_install_set)
  vantorel_embed_install_set(vantorel-setup)
endif()

enable_testing()
add_subdirectory(tests)
if(EXISTS ${CMAKE_SOURCE_DIR}/uninstaller/CMakeLists.txt)
  add_subdirectory(uninstaller)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
  add_subdirectory(bench)
endif()
