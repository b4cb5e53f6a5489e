#include "Engine/Base/Globals.h"

bool gameRunning = false;
bool playerMode = true;
bool musicOn = true;
int cameraState = 1;
float screenWidth = 0.0f;
float screenHeight = 0.0f;
