# pellwerk_library(NAME [QT] LIBS ...)
# One library per folder from every .cpp/.h in it (new files join by themselves).
function(pellwerk_library name)
  cmake_parse_arguments(L "QT" "" "LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h"
                                   "${CMAKE_CURRENT_SOURCE_DIR}/*.qrc")
  set(cpps ${srcs})
  list(FILTER cpps INCLUDE REGEX "\\.cpp$")
  if(NOT cpps)
    return()  # the folder has no code yet
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_LIBS})
  if(NOT L_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTORCC OFF)
  endif()
endfunction()
