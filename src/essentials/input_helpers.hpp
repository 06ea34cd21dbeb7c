#pragma once
#include <string>

// Value (-1 to 1) of the joystick axis named by the jMoveXAxis / jMoveYAxis
// setting on joystick port joystickport; 0 for "None" or an unknown name.
float joyMoveX();
float joyMoveY();
// Value of a named axis ("joyx", "joyy", "joyz", "joyr", "joyu", "joyv");
// names compare case-sensitively.
float joyAxisByName(const std::string& name, int port);
// Display name of a virtual-key code; "" for codes without one.
std::string keyName(int code);
