# vorlex: the garage client with its windows.
add_executable(vorlex ${CMAKE_CURRENT_LIST_DIR}/program/main.cpp)
target_link_libraries(vorlex PRIVATE app_ui)

# vorlex-cli: the same logic as the program, without windows, for scripting and support work.
file(GLOB CLI_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/cli/*.cpp ${CMAKE_CURRENT_LIST_DIR}/cli/*.h)
add_executable(vorlex-cli ${CLI_SOURCES})
target_link_libraries(vorlex-cli PRIVATE app_core)
foreach(lib codecs archive ftp filing viewer register transfer)
  if(TARGET ${lib})
    target_link_libraries(vorlex-cli PRIVATE ${lib})
  endif()
endforeach()
