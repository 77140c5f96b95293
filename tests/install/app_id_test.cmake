# SPDX-License-Identifier: GPL-3.0-or-later
# Application ids derived from home-page hosts: cmake -P tests/install/app_id_test.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/AppId.cmake)

set(rows
    "zelmo.org=org.zelmo.Zelmo"
    "Zelmo.ORG=org.zelmo.Zelmo"
    "games.example.co.uk=uk.co.example.games.Zelmo"
    "my-game.example.com=com.example.my_game.Zelmo"
    "3d.example.net=net.example._3d.Zelmo"
    "localhost=localhost.Zelmo")
set(failures 0)
foreach(row IN LISTS rows)
  string(REPLACE "=" ";" pair "${row}")
  list(GET pair 0 host)
  list(GET pair 1 expected)
  zelmo_app_id("${host}" id)
  if(NOT id STREQUAL expected)
    message(SEND_ERROR "host ${host}: id ${id}, expected ${expected}")
    math(EXPR failures "${failures} + 1")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures} application id(s) wrong")
endif()
