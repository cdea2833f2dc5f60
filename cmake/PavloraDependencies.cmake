# Every library of the stack is found here, also those that later parts of
# the program use, so that a missing package fails the configure step on a
# fresh machine rather than a build months later.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)

find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets Network PrintSupport DBus Test Concurrent)
set(CMAKE_AUTOMOC OFF)

find_package(pugixml CONFIG REQUIRED)
find_package(CURL REQUIRED)
find_package(OpenSSL REQUIRED)
# libzip's CMake package insists on its command-line tools; pkg-config does not.
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
find_package(exiv2 CONFIG REQUIRED)

pkg_check_modules(NETTLE REQUIRED IMPORTED_TARGET nettle)
pkg_check_modules(OPENJPEG REQUIRED IMPORTED_TARGET libopenjp2)
pkg_check_modules(TURBOJPEG REQUIRED IMPORTED_TARGET libturbojpeg)
pkg_check_modules(LIBJPEG REQUIRED IMPORTED_TARGET libjpeg)
pkg_check_modules(LIBISOFS REQUIRED IMPORTED_TARGET libisofs-1)
pkg_check_modules(LIBBURN REQUIRED IMPORTED_TARGET libburn-1)
pkg_check_modules(LIBISOBURN REQUIRED IMPORTED_TARGET libisoburn-1)
pkg_check_modules(GPHOTO2 REQUIRED IMPORTED_TARGET libgphoto2)
pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)

if(PAVLORA_BUILD_TESTS)
  find_package(GTest CONFIG REQUIRED)
endif()
if(PAVLORA_BUILD_BENCHMARKS)
  find_package(benchmark CONFIG REQUIRED)
endif()

# Liberation Sans stands in for Arial; text layout is only reproducible with it.
find_file(PAVLORA_LIBERATION_SANS LiberationSans-Regular.ttf
  PATHS /usr/share/fonts/truetype/liberation2 /usr/share/fonts/truetype/liberation
  NO_DEFAULT_PATH REQUIRED)
