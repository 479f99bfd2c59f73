# zlib and libjpeg.
#
# zlib: Debian's zlib1g-dev on host, libz-mingw-w64-dev for Windows; the
# Windows build links it statically (the toolchain files set
# ZLIB_USE_STATIC_LIBS), so the .exe does not need zlib1.dll.
find_package(ZLIB REQUIRED)

# libjpeg: no MinGW package exists, so the Windows build cross-compiles the
# source package that scripts/setup.sh unpacks into third_party/.
if(WIN32)
  set(QM_LIBJPEG_SOURCE ${PROJECT_SOURCE_DIR}/third_party/libjpeg-turbo CACHE PATH "libjpeg-turbo sources")
  if(EXISTS ${QM_LIBJPEG_SOURCE}/CMakeLists.txt)
    include(ExternalProject)
    set(jpeg_prefix ${CMAKE_BINARY_DIR}/libjpeg)
    ExternalProject_Add(libjpeg_build
      SOURCE_DIR ${QM_LIBJPEG_SOURCE}
      BINARY_DIR ${jpeg_prefix}/build
      INSTALL_DIR ${jpeg_prefix}
      CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
        -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
        -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF
        -DWITH_JPEG8=OFF -DREQUIRE_SIMD=OFF
        -DCMAKE_POSITION_INDEPENDENT_CODE=OFF
      BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
      INSTALL_COMMAND ${CMAKE_COMMAND} -E make_directory <INSTALL_DIR>/include <INSTALL_DIR>/lib
        COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/libjpeg.a <INSTALL_DIR>/lib/
        COMMAND ${CMAKE_COMMAND} -E copy <SOURCE_DIR>/jpeglib.h <SOURCE_DIR>/jmorecfg.h <SOURCE_DIR>/jerror.h <BINARY_DIR>/jconfig.h <INSTALL_DIR>/include/
      BUILD_BYPRODUCTS ${jpeg_prefix}/lib/libjpeg.a
      LOG_CONFIGURE ON LOG_BUILD ON LOG_INSTALL ON)
    file(MAKE_DIRECTORY ${jpeg_prefix}/include)
    add_library(jpeg_static STATIC IMPORTED GLOBAL)
    set_target_properties(jpeg_static PROPERTIES
      IMPORTED_LOCATION ${jpeg_prefix}/lib/libjpeg.a
      INTERFACE_INCLUDE_DIRECTORIES ${jpeg_prefix}/include)
    add_dependencies(jpeg_static libjpeg_build)
    add_library(JPEG::JPEG ALIAS jpeg_static)
  else()
    message(WARNING "libjpeg sources not found in ${QM_LIBJPEG_SOURCE}: run scripts/setup.sh")
  endif()
endif()
