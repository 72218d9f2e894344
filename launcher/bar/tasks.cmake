# The task list's commands: marking, targets and arrangement rules (pure),
# the commands on real windows and the bar's task buttons.
vb_core_sources(vbcore task_rules.cpp task_scroll.cpp)
if(VB_WINDOWS)
  target_sources(vblauncher PRIVATE task_commands_win.cpp task_mode_commands.cpp)
endif()
