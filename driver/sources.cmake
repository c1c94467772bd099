# Sources of the driver, by subsystem: the portable core, the Win32 layer, and the
# files that only the DLL has (entry point, exports, definitions, resources).
set(QF_DRIVER_DIR ${CMAKE_CURRENT_LIST_DIR})

# The defaults block is also linked into the module, generated from the same source as
# the data file, so that a valid record can be built when the data file cannot be read.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(QF_BUILTIN_DEFAULTS ${CMAKE_BINARY_DIR}/generated/builtin_defaults.cpp)
add_custom_command(
  OUTPUT ${QF_BUILTIN_DEFAULTS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/package/make_defaults.py
          ${CMAKE_SOURCE_DIR}/package/defaults.txt ${CMAKE_BINARY_DIR}/generated/qf862k.dat ${QF_BUILTIN_DEFAULTS}
  DEPENDS ${CMAKE_SOURCE_DIR}/package/make_defaults.py ${CMAKE_SOURCE_DIR}/package/defaults.txt
  COMMENT "Generating the built-in defaults block")
# A custom command's output has a rule only in this folder; the trees that compile the
# core again in folders of their own (benchmarks, fuzz targets) wait for this target, so
# that each of them can be the first thing built in an empty build folder.
add_custom_target(qf_generated_sources DEPENDS ${QF_BUILTIN_DEFAULTS})

list(APPEND QF_CORE_SOURCES
  ${QF_BUILTIN_DEFAULTS}
  ${QF_DRIVER_DIR}/settings/capabilities.cpp
  ${QF_DRIVER_DIR}/ui/help_pages.cpp
  ${QF_DRIVER_DIR}/platform/code_pages.cpp
  ${QF_DRIVER_DIR}/channel/commands.cpp
  ${QF_DRIVER_DIR}/channel/reply.cpp
  ${QF_DRIVER_DIR}/settings/ribbons.cpp
  ${QF_DRIVER_DIR}/settings/record_rules.cpp
  ${QF_DRIVER_DIR}/settings/private_settings.cpp
  ${QF_DRIVER_DIR}/settings/public_devmode.cpp
  ${QF_DRIVER_DIR}/settings/record_fields.cpp
  ${QF_DRIVER_DIR}/settings/printer_records.cpp
  ${QF_DRIVER_DIR}/settings/printer_report.cpp
  ${QF_DRIVER_DIR}/state/live_sheets.cpp
  ${QF_DRIVER_DIR}/state/document_items.cpp
  ${QF_DRIVER_DIR}/state/device_items.cpp
  ${QF_DRIVER_DIR}/imaging/head_settings_rules.cpp
  ${QF_DRIVER_DIR}/imaging/color_adjust.cpp
  ${QF_DRIVER_DIR}/tools/tool_commands.cpp
  ${QF_DRIVER_DIR}/tools/firmware_file.cpp
  ${QF_DRIVER_DIR}/tools/device_information.cpp
  ${QF_DRIVER_DIR}/encoder/track_rules.cpp
  ${QF_DRIVER_DIR}/encoder/encoder_rules.cpp
  ${QF_DRIVER_DIR}/encoder/encoder_jobs.cpp
  ${QF_DRIVER_DIR}/overlay/region_rules.cpp
  ${QF_DRIVER_DIR}/overlay/hologram_stream.cpp
  ${QF_DRIVER_DIR}/overlay/hologram_decoder.cpp
  ${QF_DRIVER_DIR}/overlay/hologram_job.cpp
  ${QF_DRIVER_DIR}/overlay/monochrome_bitmap.cpp
)

list(APPEND QF_WIN32_SOURCES
  ${QF_DRIVER_DIR}/platform/module_instance.cpp
  ${QF_DRIVER_DIR}/settings/module_state.cpp
  ${QF_DRIVER_DIR}/platform/printer_info.cpp
  ${QF_DRIVER_DIR}/settings/stored_records.cpp
  ${QF_DRIVER_DIR}/ui/dialog_conventions.cpp
  ${QF_DRIVER_DIR}/ui/dialog_controls.cpp
  ${QF_DRIVER_DIR}/settings/document_settings.cpp
  ${QF_DRIVER_DIR}/settings/ribbon_query.cpp
  ${QF_DRIVER_DIR}/channel/printer_queries.cpp
  ${QF_DRIVER_DIR}/channel/direct_exchange.cpp
  ${QF_DRIVER_DIR}/channel/raw_jobs.cpp
  ${QF_DRIVER_DIR}/state/option_items.cpp
  ${QF_DRIVER_DIR}/state/sheet_state.cpp
  ${QF_DRIVER_DIR}/sheets/printer_answers.cpp
  ${QF_DRIVER_DIR}/sheets/document_sheet.cpp
  ${QF_DRIVER_DIR}/sheets/document_properties.cpp
  ${QF_DRIVER_DIR}/sheets/device_sheet.cpp
  ${QF_DRIVER_DIR}/tools/about_dialog.cpp
  ${QF_DRIVER_DIR}/imaging/slider_dialog.cpp
  ${QF_DRIVER_DIR}/imaging/head_settings_dialog.cpp
  ${QF_DRIVER_DIR}/imaging/color_correction_dialog.cpp
  ${QF_DRIVER_DIR}/encoder/encoder_store.cpp
  ${QF_DRIVER_DIR}/encoder/track_data_check.cpp
  ${QF_DRIVER_DIR}/encoder/encoder_dialog_state.cpp
  ${QF_DRIVER_DIR}/encoder/encoder_dialog.cpp
  ${QF_DRIVER_DIR}/encoder/advanced_track_dialog.cpp
  ${QF_DRIVER_DIR}/encoder/single_feed_dialog.cpp
  ${QF_DRIVER_DIR}/tools/tools_dialog.cpp
  ${QF_DRIVER_DIR}/tools/tools_offsets.cpp
  ${QF_DRIVER_DIR}/tools/tools_tracks.cpp
  ${QF_DRIVER_DIR}/tools/send_file_dialog.cpp
  ${QF_DRIVER_DIR}/tools/firmware_dialog.cpp
  ${QF_DRIVER_DIR}/tools/device_information_dialog.cpp
  ${QF_DRIVER_DIR}/overlay/region_preview.cpp
  ${QF_DRIVER_DIR}/overlay/region_editor.cpp
  ${QF_DRIVER_DIR}/overlay/overlay_editor_dialog.cpp
  ${QF_DRIVER_DIR}/overlay/hologram_region_dialog.cpp
  ${QF_DRIVER_DIR}/overlay/hologram_dialog.cpp
)

set(QF_DLL_SOURCES
  ${QF_DRIVER_DIR}/entry/dllmain.cpp
  ${QF_DRIVER_DIR}/entry/exports.cpp
  ${QF_DRIVER_DIR}/settings/devmode_exports.cpp
  ${QF_DRIVER_DIR}/sheets/sheet_exports.cpp
  ${QF_DRIVER_DIR}/entry/qf862kui.def
  ${QF_DRIVER_DIR}/resources/qf862kui.rc
)
