// Hooks the form runtime into the core runtime: the property, loop and
// start-window services, the four unit kinds, *close window*, the form
// requests of the notification function, the window keys and the end
// sequence's releases. The framework calls it before the entry routine;
// tests that drive windows directly call it themselves.
#pragma once

void InstallFormRuntime();
