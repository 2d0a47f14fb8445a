// The one place the program's version lives: the VERSIONINFO block and the code read it.
#pragma once

#define VELMORA_VERSION_MAJOR 1
#define VELMORA_VERSION_MINOR 0
#define VELMORA_VERSION_PATCH 0
#define VELMORA_VERSION_BUILD 0
#define VELMORA_VERSION_TEXT "1.0.0.0"
