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

// The confirm input of the menu screens: Z, Space or Return held, whatever
// the redefined keys (the keys are then flushed, so one press confirms once),
// or, with the joystick in use, any button 0 to 12 of port 0 held once
// `joytimer` is past 30 frames (it then restarts from 0).
bool confirmPressed(int& joytimer);
