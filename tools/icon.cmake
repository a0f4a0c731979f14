# quarn-icon: draws the programs' icons for the packages (needs the artwork).
if(QUARN_GUI)
  add_executable(quarn-icon ${CMAKE_CURRENT_SOURCE_DIR}/icon.cpp)
  target_link_libraries(quarn-icon PRIVATE quarn_client_ui quarn_warnings)
  set_target_properties(quarn-icon PROPERTIES AUTOMOC OFF)
endif()
