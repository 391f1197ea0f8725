# Windows programs: small, static, no DLL beyond the system's, and the same
# bytes from the same sources (no link timestamp).
enable_language(RC)
set(VANTOREL_WIN_FLAGS -Os -fno-exceptions -fno-rtti -ffunction-sections -fdata-sections
    -fno-asynchronous-unwind-tables)
foreach(t vantorel_core vantorel_platform)
  target_compile_options(${t} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${VANTOREL_WIN_FLAGS}>)
endforeach()
set(VANTOREL_WIN_LINK -static -static-libgcc -static-libstdc++ -s -Wl,--gc-sections
    -Wl,--no-insert-timestamp -mwindows)

# Link a Windows GUI program the way every program of ours is linked.
function(vantorel_windows_program target)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${VANTOREL_WIN_FLAGS}>)
  target_link_options(${target} PRIVATE ${VANTOREL_WIN_LINK})
endfunction()

if(EXISTS ${CMAKE_SOURCE_DIR}/payload/CMakeLists.txt)
  add_subdirectory(payload)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/uninstaller/CMakeLists.txt)
  add_subdirectory(uninstaller)
endif()

# The system libraries follow the platform archive that calls them, or the
# linker meets them before it knows what the archive needs.
target_link_libraries(vantorel_platform PUBLIC ole32 shell32 version uuid)

add_executable(VantorelSetup WIN32 platform/win32/entry/SetupMain.cpp ${VANTOREL_SETUP_RESOURCES})
target_link_libraries(VantorelSetup PRIVATE vantorel_core ole32 shell32 version uuid)
vantorel_windows_program(VantorelSetup)
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
  add_subdirectory(tests/e2e)
endif()
