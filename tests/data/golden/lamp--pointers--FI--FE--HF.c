//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  Automatic generated C-code by the application:
//     Orvane Editor v1.0r0
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Methodology: Pointer to state functions. [v1.2r3]
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Exported function: void Lamp(void);
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++


//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Automatic initialization (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
 // States functions declaration.
  static void E_Off(void);
  static void E_On(void);

 // State function pointer.
  static void (*Dis_Lamp)(void)= E_Off;

 // Macros & functions.
// Force the FSM to the initial state.
void Lamp_Init(void)
{
    Dis_Lamp = E_Off;
}

// Confirm that the FSM has reached a final state.
unsigned char Lamp_End(void)
{
    return(0);
}

// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Automatic initialization (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// FSM dispatcher function to be called by the O.S.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
void Lamp(void)
{
    // Next state analyser.
    Dis_Lamp();
}


//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// States functions.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
static void E_Off(void)
{
    // Next state selection.
    if(button){
        // Pointing to the next state.
        Dis_Lamp = E_On;
    }
}

static void E_On(void)
{
    // State actions (Moore).
    led = 1;
    // Next state selection.
    if(!button){
        // Pointing to the next state.
        Dis_Lamp = E_Off;
    }
}

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  End of the automatic generated C-code.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
