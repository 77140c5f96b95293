# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the icon's PNG sizes from data/icons, for the icon theme (data/) and for the pictures
# the window carries (ui/), with rsvg-convert (Debian package librsvg2-bin).
include_guard(GLOBAL)

find_program(ZELMO_RSVG_CONVERT rsvg-convert)
if(NOT ZELMO_RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert (Debian package librsvg2-bin) is needed to render the icon sizes; "
                      "run scripts/install-deps.sh")
endif()

# Adds the command that renders the SIZE x SIZE picture into PNG. The smallest sizes have a
# picture of their own, drawn pixel for pixel (data/icons/zelmo-SIZE.svg): scaled down, the big
# picture's marks blur into blobs. Every other size is the big picture scaled.
function(zelmo_render_icon size png)
  set(svg ${PROJECT_SOURCE_DIR}/data/icons/zelmo-${size}.svg)
  if(NOT EXISTS ${svg})
    set(svg ${PROJECT_SOURCE_DIR}/data/icons/zelmo.svg)
  endif()
  get_filename_component(folder ${png} DIRECTORY)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${ZELMO_RSVG_CONVERT} --width=${size} --height=${size} --format=png --output=${png}
            ${svg}
    DEPENDS ${svg}
    COMMENT "Rendering the ${size}x${size} icon"
    VERBATIM)
endfunction()
