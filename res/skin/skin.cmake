# The skin engine library and its skin image join the program's resources (res/skin.rc); included
# by res/CMakeLists.txt. The image is generated from the readable source beside this file.
set(skin_image ${CMAKE_CURRENT_BINARY_DIR}/brinkvale.she)
set(skin_library ${CMAKE_CURRENT_BINARY_DIR}/SkinH_EL.dll)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_command(OUTPUT ${skin_image}
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make-skin.py ${CMAKE_CURRENT_SOURCE_DIR}/skin/brinkvale.skin
          ${skin_image}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make-skin.py ${CMAKE_CURRENT_SOURCE_DIR}/skin/brinkvale.skin
  VERBATIM)
# A copy beside the image, so the resource script finds both in one folder and is rebuilt with the engine.
add_custom_command(OUTPUT ${skin_library}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:SkinH_EL> ${skin_library}
  DEPENDS SkinH_EL
  VERBATIM)
list(APPEND resource_files ${CMAKE_CURRENT_SOURCE_DIR}/skin.rc)
list(APPEND resource_inputs ${skin_image} ${skin_library})
