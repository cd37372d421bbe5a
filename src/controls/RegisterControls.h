#pragma once
// Makes the skinned and wide-text controls known to the form designs by their class
// names. Called once before the first design is loaded; called again, it changes nothing.
namespace controls {
void RegisterControlClasses();
}
