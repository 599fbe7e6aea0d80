//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  Automatic generated C-code by the application:
//     Orvane Editor v1.0r0
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Methodology: Switch-case state. [v1.2r3]
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

// FSM function.
void Lamp(void);

// Force the FSM to the initial state.
void Lamp_Init(void);

// This is not a history FSM.
#define _Lamp_Init()  {Lamp_Init(); /* Children: */ }

