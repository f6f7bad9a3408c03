# The release: one folder holding quillaret(.exe), the three sample lexicons
# and README.md, as the install rules of src/ lay it out. Users unzip it
# anywhere and run the program from there, since the program looks for its
# lexicons beside itself.
#
#   cmake --install <build> --prefix <folder> --strip   the folder itself
#   cmake --build <build> --target package              the folder, zipped
#                                                       (quillaret-1.01-win64.zip
#                                                       from the MinGW build)
set(CPACK_PACKAGE_NAME quillaret)
set(CPACK_PACKAGE_VENDOR Quillaret)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "English to French translator for Morrowind plug-ins")
# The version that the program prints on start.
set(CPACK_PACKAGE_VERSION 1.01)
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(quillaret_package_system win64)
else()
  string(TOLOWER ${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR} quillaret_package_system)
endif()
set(CPACK_PACKAGE_FILE_NAME
    ${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-${quillaret_package_system})
set(CPACK_GENERATOR ZIP)
# Everything inside one top folder, so that unzipping never scatters files.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
