# SPDX-License-Identifier: GPL-3.0-or-later
# The application id of the desktop files: the home-page host reversed plus the program's name
# (zelmo.org gives org.zelmo.Zelmo). Desktop ids allow only letters, digits and "_" in each part,
# and a part must not begin with a digit, so "-" becomes "_" and a leading digit gets a "_".
function(zelmo_app_id host out_var)
  string(TOLOWER "${host}" host)
  string(REPLACE "-" "_" host "${host}")
  string(REPLACE "." ";" parts "${host}")
  list(REVERSE parts)
  set(id_parts)
  foreach(part IN LISTS parts)
    if(part MATCHES "^[0-9]")
      set(part "_${part}")
    endif()
    list(APPEND id_parts ${part})
  endforeach()
  list(JOIN id_parts "." id)
  set(id "${id}.Zelmo")
  if(NOT id MATCHES "^[A-Za-z_][A-Za-z0-9_]*(\\.[A-Za-z_][A-Za-z0-9_]*)+$")
    message(FATAL_ERROR "The home-page host \"${host}\" gives no valid application id")
  endif()
  set(${out_var} "${id}" PARENT_SCOPE)
endfunction()
