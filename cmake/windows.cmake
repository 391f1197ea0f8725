# Windows programs: small, static, no DLL beyond the system's, and the same
# bytes from the same sources (no link timestamp).
enable_language(RC)
# A function called from one place is still inlined into it at -Os, and
# the install path then becomes one function whose every String and
# ErrorHandle is its own stack slot with its own clean-up: kept apart, they
# share their frames' code and the setup is 1.3 KB smaller.
set(VANTOREL_WIN_FLAGS -Os -flto -fno-exceptions -fno-rtti -ffunction-sections -fdata-sections
    -fno-asynchronous-unwind-tables -fno-inline-functions-called-once)
# 32-bit Windows guarantees a 4-byte aligned stack and nothing of ours needs
# more: without the 16-byte default every call saves its padding.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  list(APPEND VANTOREL_WIN_FLAGS -mpreferred-stack-boundary=2)
endif()
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

# The setup and the uninstaller start at their own PROGRAM_ENTRY
# (platform/System.h) instead of the C runtime's start-up code. On x86 a C
# function's symbol carries a leading underscore. Nothing would apply the
# runtime's pseudo-relocations (data that the linker imports from a DLL on
# its own), so that is refused at link time rather than left to fail at run
# time.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(VANTOREL_ENTRY_LINK -Wl,--entry=_programEntry)
else()
  set(VANTOREL_ENTRY_LINK -Wl,--entry=programEntry)
endif()
# Instead of -nostartfiles, which drops both, the file written below tells
# the driver to link no start file and, as its end file, an empty object of
# ours (crtend.o would register frame tables from a constructor). binutils
# 2.40's ld needs some object after the last library: without one, the
# archive members it loads after the link-time code generation can fall off
# its file chain, and generate_reloc crashes on their missing output section
# (platform/win32/runtime/LinkEnd.c says how). The driver puts the end file
# after every library, whatever the rest of the command line holds.
enable_language(C)
add_library(vantorel_link_end OBJECT ${CMAKE_SOURCE_DIR}/platform/win32/runtime/LinkEnd.c)
target_compile_options(vantorel_link_end PRIVATE -fno-lto)
set(VANTOREL_ENTRY_SPECS ${CMAKE_BINARY_DIR}/entry-program.specs)
file(GENERATE OUTPUT ${VANTOREL_ENTRY_SPECS}
     CONTENT "*startfile:\n\n\n*endfile:\n$<TARGET_OBJECTS:vantorel_link_end>\n\n")
function(vantorel_entry_program target)
  vantorel_windows_program(${target})
  add_dependencies(${target} vantorel_link_end)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
               ${VANTOREL_ENTRY_SPECS} $<TARGET_OBJECTS:vantorel_link_end>)
  target_link_options(${target} PRIVATE -specs=${VANTOREL_ENTRY_SPECS} ${VANTOREL_ENTRY_LINK}
                      -Wl,--disable-auto-import -Wl,--disable-runtime-pseudo-reloc)
endfunction()

# Signing is decided when the build is configured, by the environment: with
# VANTOREL_SIGN_CERT (a PEM certificate chain) and VANTOREL_SIGN_KEY (its PEM
# private key) the uninstaller is signed as soon as it is linked, before the
# setup packs it, and the setup last. Windows' SmartScreen and many companies
# refuse unsigned programs, and the setup hands the uninstaller to an
# administrator's Apps and Features. VANTOREL_TIMESTAMP_URL adds an RFC 3161
# timestamp, which keeps a signature valid after its certificate expires;
# SOURCE_DATE_EPOCH, when set, is the signing time, so that two builds without
# a timestamp sign alike.
set(VANTOREL_PRODUCT_URL "https://hollowmere.example/vantorel" CACHE STRING
    "The product's web page: named in the programs' signatures and the winget manifest")
# The setup's own constants say what the product is called; read, not repeated.
file(STRINGS ${CMAKE_SOURCE_DIR}/setup/ProductConstants.h VANTOREL_APPLICATION_NAME
     REGEX "applicationName = \"")
string(REGEX REPLACE ".*applicationName = \"([^\"]*)\".*" "\\1" VANTOREL_APPLICATION_NAME
       "${VANTOREL_APPLICATION_NAME}")
set(VANTOREL_SIGN_CERT "$ENV{VANTOREL_SIGN_CERT}")
set(VANTOREL_SIGN_KEY "$ENV{VANTOREL_SIGN_KEY}")
if(VANTOREL_SIGN_CERT OR VANTOREL_SIGN_KEY)
  if(NOT VANTOREL_SIGN_CERT OR NOT VANTOREL_SIGN_KEY)
    message(FATAL_ERROR "Signing needs both VANTOREL_SIGN_CERT (a PEM certificate chain) and "
            "VANTOREL_SIGN_KEY (its PEM private key); only one of them is set")
  endif()
  # Relative names mean what they mean in the shell that configures.
  execute_process(COMMAND pwd OUTPUT_VARIABLE VANTOREL_CONFIGURE_DIR OUTPUT_STRIP_TRAILING_WHITESPACE)
  foreach(variable VANTOREL_SIGN_CERT VANTOREL_SIGN_KEY)
    get_filename_component(${variable} "${${variable}}" ABSOLUTE BASE_DIR "${VANTOREL_CONFIGURE_DIR}")
    if(NOT EXISTS "${${variable}}")
      message(FATAL_ERROR "${variable} names ${${variable}}, which does not exist")
    endif()
  endforeach()
  find_program(VANTOREL_OSSLSIGNCODE osslsigncode)
  if(NOT VANTOREL_OSSLSIGNCODE)
    message(FATAL_ERROR "Signing needs osslsigncode, which is missing (scripts/install-deps installs it)")
  endif()
  message(STATUS "Signing TessalyUninstaller.exe and VantorelSetup.exe with ${VANTOREL_SIGN_CERT}")
else()
  message(NOTICE "VANTOREL_SIGN_CERT and VANTOREL_SIGN_KEY are not set: the programs are built unsigned")
endif()

# vantorel_sign_program(target): signs the program in place once it is linked,
# when this build signs at all. It has to be called where the target is made.
function(vantorel_sign_program target)
  if(NOT VANTOREL_SIGN_CERT)
    return()
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/sign-program ${VANTOREL_OSSLSIGNCODE}
            ${VANTOREL_SIGN_CERT} ${VANTOREL_SIGN_KEY} ${VANTOREL_APPLICATION_NAME}
            ${VANTOREL_PRODUCT_URL} "$ENV{VANTOREL_TIMESTAMP_URL}" "$ENV{SOURCE_DATE_EPOCH}"
            $<TARGET_FILE:${target}>
    VERBATIM)
  # Post-build steps run only when the program is linked: a changed step relinks.
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/scripts/sign-program)
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
vantorel_entry_program(VantorelSetup)
vantorel_pack_install_set(VantorelSetup)
vantorel_sign_program(VantorelSetup)
# The winget manifest of the setup as shipped: written after the signing, so that its
# hash is that of the final program.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(VANTOREL_INSTALLER_URL "${VANTOREL_PRODUCT_URL}/VantorelSetup.exe" CACHE STRING
    "Where the winget manifest says VantorelSetup.exe is downloaded from")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VANTOREL_WINGET_ARCHITECTURE x64)
else()
  set(VANTOREL_WINGET_ARCHITECTURE x86)
endif()
add_custom_command(TARGET VantorelSetup POST_BUILD
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/winget-manifest
          --setup $<TARGET_FILE:VantorelSetup> --constants ${CMAKE_SOURCE_DIR}/setup/ProductConstants.h
          --architecture ${VANTOREL_WINGET_ARCHITECTURE} --installer-url ${VANTOREL_INSTALLER_URL}
          --package-url ${VANTOREL_PRODUCT_URL} --out ${CMAKE_BINARY_DIR}/winget
  VERBATIM)
set_property(TARGET VantorelSetup APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/tools/winget-manifest)
add_subdirectory(tools/automation)
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
  add_subdirectory(tests/e2e)
endif()
