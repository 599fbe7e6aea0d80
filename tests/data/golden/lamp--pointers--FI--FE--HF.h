//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  Automatic generated C-code by the application:
//     Orvane Editor v1.0r0
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Methodology: Pointer to state functions. [v1.2r3]
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

// FSM function.
void Lamp(void);

// Force the FSM to the initial state.
void Lamp_Init(void);

// This is a history FSM.
#define _Lamp_Init()  {}

// Confirm that the FSM has reached a final state.
unsigned char Lamp_End(void);

