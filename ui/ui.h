// Window machinery, control kinds, the main and prompt windows and the tray icon.
#pragma once
