#pragma once
// Registers the program's own controls with CControlFactory, so layouts
// build them by full or short class name ("CCircleProgressUI" or
// "CircleProgress"). Part of the toolkit's preparation at start-up.

void RegisterCustomControls();
