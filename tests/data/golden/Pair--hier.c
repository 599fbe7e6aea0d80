//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  Automatic generated C-code by the application:
//     Orvane Editor v1.0r0
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Methodology: Hierarchical Switch-case state. [v1.2r3]
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Exported function: void Pair(int ev);
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Module header proposed by the user (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Pair module.
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Module header proposed by the user (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Initialization proposed by the user (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  #include "pair.h"

// [Child:  Valve]
  

// [Child:  Fan]
  

// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Initialization proposed by the user (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Entry flags (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  static unsigned char entryFsmFlg = 0;
  static unsigned char entryFsmFlg_1 = 0;
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Entry flags (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Automatic initialization (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
 // States index.
  #define  i_IDLE  0
  #define  i_BUSY  1

 // Index variable.
static unsigned char ind_Pair = i_IDLE;

// Macros & functions.
// Force the FSM to the initial state.
#define Pair_Init() { ind_Pair = i_IDLE; entryFsmFlg = 0; }

// This is not a history FSM.
#define _Pair_Init()  {Pair_Init(); /* Children: */ _Valve_Init(); _Fan_Init();}

// Confirm that the FSM has reached a final state.
#define Pair_End() (\
    0)


// [Child:  Valve]
   // States index.
    #define  i_1_SHUT  0
    #define  i_1_OPEN  1
  
   // Index variable.
  static unsigned char ind_1_Valve = i_1_SHUT;
  
  // Macros & functions.
  // Force the FSM to the initial state.
  #define Valve_Init() { ind_1_Valve = i_1_SHUT; entryFsmFlg_1 = 0; }
  
  // This is not a history FSM.
  #define _Valve_Init()  {Valve_Init(); /* Children: */ }
  
  // Force the FSM to the state:[Open].
  #define Valve_Goto_Open() { ind_1_Valve = i_1_OPEN; entryFsmFlg_1 = 0; }
  

// [Child:  Fan]
   // States index.
    #define  i_2_STOP  0
    #define  i_2_SPIN  1
  
   // Index variable.
  static unsigned char ind_2_Fan = i_2_STOP;
  
  // Macros & functions.
  // This is a history FSM.
  #define _Fan_Init()  {}
  
  // Confirm that the FSM has reached a final state.
  #define Fan_End() (\
      (ind_2_Fan == i_2_SPIN))
  
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Automatic initialization (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Local child functions  (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  static void Valve(void);
  static void Fan(int ev);
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Local child functions  (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// FSM dispatcher function to be called by the O.S.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
void Pair(int ev)
{
    // Next state analyser.
    switch(ind_Pair){
        case i_IDLE:
            // Entry check
            if(entryFsmFlg == 0){
                entryFsmFlg = 1;
                // Entry actions
                reset();
            }
            // Next state selection.
            if(ev == 1){
                // Pointing to the next state.
                ind_Pair = i_BUSY;
                // Reset entry flag
                entryFsmFlg = 0;
            }
        break;
        case i_BUSY:
            // State actions (Moore).
            Valve();
            // Next state selection.
            if(ev == 0){	// [1].
                // Child Initialization.
                _Valve_Init();
                _Fan_Init();
                // Exit actions.
                stop();
                // Pointing to the next state.
                ind_Pair = i_IDLE;
            }else if(ev == 2){	// [2].
                // Transition actions (Meally).
                again();
            }else { // Else actions.
                Fan(ev);
            }
        break;
    }
}


// [Child:  Valve]
  
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  // FSM dispatcher function to be called by the O.S.
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  static void Valve(void)
  {
      // Next state analyser.
      switch(ind_1_Valve){
          case i_1_SHUT:
              // Next state selection.
              if(cmd){
                  // Pointing to the next state.
                  ind_1_Valve = i_1_OPEN;
              }
          break;
          case i_1_OPEN:
              // Entry check
              if(entryFsmFlg_1 == 0){
                  entryFsmFlg_1 = 1;
                  // Entry actions
                  pulse();
              }
              // Next state selection.
              {
                  // Pointing to the next state.
                  ind_1_Valve = i_1_SHUT;
                  // Reset entry flag
                  entryFsmFlg_1 = 0;
              }
          break;
      }
  }
  

// [Child:  Fan]
  
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  // FSM dispatcher function to be called by the O.S.
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  static void Fan(int ev)
  {
      // Next state analyser.
      switch(ind_2_Fan){
          case i_2_STOP:
              // Next state selection.
              if(ev > 5){
                  // Pointing to the next state.
                  ind_2_Fan = i_2_SPIN;
              }
          break;
          case i_2_SPIN:
              // State actions (Moore).
              spin();
          break;
      }
  }
  

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Ending code proposed by the user (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -

// [Child:  Fan]
  static int fan_ending;

// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Ending code proposed by the user (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  End of the automatic generated C-code.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
