# The release archive of the Windows program:
#   cmake --build --preset windows --target package
#     ->  build-windows/clientZEPO-<version>-windows.zip
# holding x64\ and x86\ (clientzepo.exe and xcopy.exe of the 64-bit and the
# 32-bit build, stripped of their debug information) and LEGGIMI.txt. The
# 32-bit programs come from the windows-x86 preset's build, configured and
# brought up to date here.
if(NOT WIN32 OR NOT TARGET clientzepo)
  return()
endif()

set(ZEPO_X86_BUILD ${CMAKE_SOURCE_DIR}/build-windows-x86)
set(ZEPO_ZIP_STAGE ${CMAKE_BINARY_DIR}/package-windows)
set(ZEPO_ZIP ${CMAKE_BINARY_DIR}/clientZEPO-${PROJECT_VERSION}-windows.zip)
find_program(ZEPO_STRIP NAMES x86_64-w64-mingw32-strip i686-w64-mingw32-strip strip REQUIRED)

add_custom_target(package
  COMMAND ${CMAKE_COMMAND} --preset windows-x86
  COMMAND ${CMAKE_COMMAND} --build ${ZEPO_X86_BUILD} --target clientzepo xcopy
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZEPO_ZIP_STAGE} ${ZEPO_ZIP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZEPO_ZIP_STAGE}/x64 ${ZEPO_ZIP_STAGE}/x86
  COMMAND ${ZEPO_STRIP} -o ${ZEPO_ZIP_STAGE}/x64/clientzepo.exe $<TARGET_FILE:clientzepo>
  COMMAND ${ZEPO_STRIP} -o ${ZEPO_ZIP_STAGE}/x64/xcopy.exe $<TARGET_FILE:xcopy>
  COMMAND ${ZEPO_STRIP} -o ${ZEPO_ZIP_STAGE}/x86/clientzepo.exe ${ZEPO_X86_BUILD}/bin/clientzepo.exe
  COMMAND ${ZEPO_STRIP} -o ${ZEPO_ZIP_STAGE}/x86/xcopy.exe ${ZEPO_X86_BUILD}/bin/xcopy.exe
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/packaging/windows/LEGGIMI.txt
          ${ZEPO_ZIP_STAGE}/LEGGIMI.txt
  COMMAND ${CMAKE_COMMAND} -E chdir ${ZEPO_ZIP_STAGE}
          ${CMAKE_COMMAND} -E tar cf ${ZEPO_ZIP} --format=zip x64 x86 LEGGIMI.txt
  DEPENDS clientzepo xcopy
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
  COMMENT "Making clientZEPO-${PROJECT_VERSION}-windows.zip"
  VERBATIM)
