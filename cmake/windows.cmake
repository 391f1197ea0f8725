# Windows programs: small, static, no DLL beyond the system's, and the same
# bytes from the same sources (no link timestamp).
enable_language(RC)
set(VANTOREL_WIN_FLAGS -Os -flto -fno-exceptions -fno-rtti -ffunction-sections -fdata-sections
    -fno-asynchronous-unwind-tables)
foreach(t vantorel_core vantorel_platform)
  target_compile_options(${t} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${VANTOREL_WIN_FLAGS}>)
endforeach()
set(VANTOREL_WIN_LINK -Os -flto -static -static-libgcc -static-libstdc++ -s -Wl,--gc-sections
    -Wl,--no-insert-timestamp -mwindows)

# Link a Windows GUI program the way every program of ours is linked, with
# our own operator new so that none of the C++ runtime's exception machinery
# comes along.
function(vantorel_windows_program target)
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/platform/win32/runtime/OperatorNew.cpp)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${VANTOREL_WIN_FLAGS}>)
  target_link_options(${target} PRIVATE ${VANTOREL_WIN_LINK})
endfunction()

# The programs the setup carries (the product's and the uninstaller), then the
# setup itself with everything packed into its resources.
add_subdirectory(uninstaller)
add_subdirectory(payload)

# The system libraries follow the platform archive that calls them, or the
# linker meets them before it knows what the archive needs.
# version.dll is loaded from the system folder at run time, never imported:
# only KnownDLLs may be imported, which Windows never takes from the program's
# folder.
target_link_libraries(vantorel_platform PUBLIC ole32 shell32 uuid)

add_executable(VantorelSetup WIN32 setup/entry/WindowsMain.cpp
               setup/resources/VantorelSetup.rc)
# windres reads the manifest and icon the script names; the build must know, or an edited
# manifest never reaches the program.
set_source_files_properties(setup/resources/VantorelSetup.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/setup/resources/VantorelSetup.manifest;${CMAKE_SOURCE_DIR}/setup/resources/VantorelSetup.ico")
target_include_directories(VantorelSetup PRIVATE ${CMAKE_SOURCE_DIR}/setup/resources)
target_link_libraries(VantorelSetup PRIVATE vantorel_core)
vantorel_windows_program(VantorelSetup)
vantorel_pack_install_set(VantorelSetup)
add_subdirectory(tools/automation)
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
  add_subdirectory(tests/e2e)
endif()
