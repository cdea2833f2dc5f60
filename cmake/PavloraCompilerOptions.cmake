# Options shared by every target of the project, collected in one interface
# target so that third-party code is never built with them.
add_library(pavlora_options INTERFACE)
target_compile_options(pavlora_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow=local
  -Wnon-virtual-dtor -Woverloaded-virtual)
if(PAVLORA_WERROR)
  target_compile_options(pavlora_options INTERFACE -Werror)
endif()
target_compile_definitions(pavlora_options INTERFACE
  QT_NO_KEYWORDS QT_NO_CAST_FROM_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_USE_QSTRINGBUILDER)
target_include_directories(pavlora_options INTERFACE ${CMAKE_SOURCE_DIR}/src ${CMAKE_BINARY_DIR}/src)

if(PAVLORA_SANITIZE)
  # Applied to everything we compile and link, so that every program and
  # test of the build runs instrumented.
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
