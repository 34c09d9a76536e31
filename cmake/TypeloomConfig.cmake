# find_package(Typeloom) after installing Typeloom Studio: gives typeloom_add_font().
include("${CMAKE_CURRENT_LIST_DIR}/TypeloomFont.cmake")
