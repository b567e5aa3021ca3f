# build/dist: the install tree as it ships. The monitor's folder holds Monitor.exe, our
# on-screen display "Brenik OSD.exe", the settings program "Brenik Option.exe", the settings
# tool BrenikSettings.exe, kbhid.dll, the applets in Applets\ (the volume controller VolumeBar.exe
# and the system gauge SysGauge.exe),
# config.ini beside them (the programs read it), config\ for the profile files and Wave\ for
# the sound cues; the updater lives in its own subfolder with its own kbhid.dll and
# config.ini. Each kbhid.dll has a kbhid.ini choosing the virtual keyboard, whose server and
# control command are in tools\
# (with the demo's driver of the updater's dialogs, a stand-in media player and a stand-in game).
set(BRENIK_DIST_DIR ${PROJECT_SOURCE_DIR}/build/dist CACHE PATH "Where the dist target lays out the install tree")

add_custom_target(dist
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${BRENIK_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${BRENIK_DIST_DIR}/config ${BRENIK_DIST_DIR}/Wave ${BRENIK_DIST_DIR}/KeyFwFlash ${BRENIK_DIST_DIR}/tools ${BRENIK_DIST_DIR}/Applets
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Monitor> ${BRENIK_DIST_DIR}/Monitor.exe
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:BrenikOsd> "${BRENIK_DIST_DIR}/Brenik OSD.exe"
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:SysGauge> ${BRENIK_DIST_DIR}/Applets/SysGauge.exe
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:KeyFwFlash> ${BRENIK_DIST_DIR}/KeyFwFlash/KeyFwFlash.exe
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:BrenikSettings> ${BRENIK_DIST_DIR}/BrenikSettings.exe
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:BrenikOption> "${BRENIK_DIST_DIR}/Brenik Option.exe"
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:VolumeBar> ${BRENIK_DIST_DIR}/Applets/VolumeBar.exe
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:kbhid> ${BRENIK_DIST_DIR}/kbhid.dll
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:kbhid> ${BRENIK_DIST_DIR}/KeyFwFlash/kbhid.dll
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:vkbd> $<TARGET_FILE:vkbd-server> $<TARGET_FILE:desktop-tool> $<TARGET_FILE:update-demo-driver> $<TARGET_FILE:media_player_stand_in> $<TARGET_FILE:game_stand_in> ${BRENIK_DIST_DIR}/tools
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/packaging/files ${BRENIK_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/monitor/sound/art/Wave ${BRENIK_DIST_DIR}/Wave
  DEPENDS Monitor BrenikOsd SysGauge BrenikSettings BrenikOption VolumeBar KeyFwFlash kbhid vkbd vkbd-server desktop-tool update-demo-driver media_player_stand_in game_stand_in
  COMMENT "Laying out ${BRENIK_DIST_DIR}"
  VERBATIM)
