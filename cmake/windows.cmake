# SPDX-License-Identifier: GPL-3.0-or-later
# Quorix.exe for Windows: a window program (no console opens beside it), its icon, version
# resource and manifest, and the statically linked Qt plugins it needs to draw: the Windows
# platform and the native style. No image-format plugin: the icon is a PNG read by Qt Gui.
set(rc ${PROJECT_BINARY_DIR}/generated/windows/quorix.rc)
set(QUORIX_RC_DIR ${PROJECT_SOURCE_DIR}/resources/windows)
configure_file(resources/windows/quorix.rc.in ${rc} @ONLY)
set_source_files_properties(${rc} PROPERTIES
    OBJECT_DEPENDS "${QUORIX_RC_DIR}/quorix.ico;${QUORIX_RC_DIR}/quorix.manifest")
target_sources(quorix PRIVATE ${rc})
set_target_properties(quorix PROPERTIES WIN32_EXECUTABLE ON OUTPUT_NAME Quorix)

# Every Windows program of the build (Quorix, the tests) draws with these plugins only.
function(quorix_windows_plugins target)
    qt_import_plugins(${target}
        INCLUDE Qt6::QWindowsIntegrationPlugin Qt6::QWindowsVistaStylePlugin
        EXCLUDE_BY_TYPE imageformats)
endfunction()
quorix_windows_plugins(quorix)

# Smaller and nothing to debug in what is handed out.
target_link_options(quorix PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
