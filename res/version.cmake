# Adds the version resource to velbrook.exe and velbrook.com, numbered from the project version.
set(velbrook_version_rc ${PROJECT_SOURCE_DIR}/res/version.rc)
target_sources(velbrook PRIVATE ${velbrook_version_rc})
target_sources(velbrook_console PRIVATE ${velbrook_version_rc})
set_property(SOURCE ${velbrook_version_rc} APPEND PROPERTY COMPILE_DEFINITIONS
    VELBROOK_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
    VELBROOK_VERSION_MINOR=${PROJECT_VERSION_MINOR}
    VELBROOK_VERSION_PATCH=${PROJECT_VERSION_PATCH}
    VELBROOK_VERSION_TEXT=${PROJECT_VERSION})
