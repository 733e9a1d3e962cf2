// The program's start-up and end, shared by main and the tests so that both
// create exactly the same forms in the same order.
#pragma once

// The application's settings and the program's forms, in their order: the
// main window (its creation step runs inside), the about box, the options
// dialog. The class library's application must exist.
void CreateProgramForms();
// Frees the forms and their components in the application's order, then
// the state the skin library keeps for its shell dialogs (made by
// CreateProgramForms before the forms).
void DestroyProgramForms();
// Start-up, the message loop until the main window has closed, and the
// end. Answers the exit status.
int RunProgram();
