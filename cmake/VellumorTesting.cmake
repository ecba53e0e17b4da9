# vellumor_add_test(NAME name SOURCES ... [LIBS ...] [TIMEOUT s] [GUI])
# One Qt Test executable, registered with CTest and run in its own HOME/XDG folders.
function(vellumor_add_test)
  cmake_parse_arguments(T "GUI" "NAME;TIMEOUT" "SOURCES;LIBS;ARGS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBS})
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  vellumor_warnings(${T_NAME} RELAXED)
  add_test(NAME ${T_NAME}
           COMMAND ${PROJECT_SOURCE_DIR}/tests/run-isolated.sh $<TARGET_FILE:${T_NAME}> ${T_ARGS})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_GUI)
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()

# vellumor_add_x11_test(NAME name COMMAND command [args...] [TIMEOUT s])
# A test that needs a real X server: it gets one of its own (tests/with-xvfb.sh,
# which cannot collide with servers started at the same moment), inside its own
# HOME and XDG folders, with Qt on xcb. Such tests may run in parallel.
function(vellumor_add_x11_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "COMMAND" ${ARGN})
  add_test(NAME ${T_NAME}
           COMMAND ${PROJECT_SOURCE_DIR}/tests/run-isolated.sh
                   ${PROJECT_SOURCE_DIR}/tests/with-xvfb.sh ${T_COMMAND})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT}
                       ENVIRONMENT "QT_QPA_PLATFORM=xcb")
endfunction()
