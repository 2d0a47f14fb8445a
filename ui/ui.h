// Window machinery, control kinds, the main and prompt windows and the tray icon.
#pragma once

#include "controls.h"
#include "icon_from_bytes.h"
#include "layout.h"
#include "shell.h"
#include "window.h"
